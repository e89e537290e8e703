#include <emscripten.h>

#include <cstdlib>

#include "text_encoding.h"

namespace hashigoro {

namespace {

// clang-format off
// The browser's decoder, which reads Shift_JIS by Windows' table; the text's UTF-8 in memory
// the caller frees, or null when the bytes are not Shift_JIS.
EM_JS(char*, DecodeShiftJis, (const char* bytes, int size), {
    try {
        const text = new TextDecoder('shift_jis', { fatal: true })
            .decode(HEAPU8.subarray(bytes, bytes + size));
        const length = lengthBytesUTF8(text) + 1;
        const out = _malloc(length);
        stringToUTF8(text, out, length);
        return out;
    } catch (error) {
        return 0;
    }
});
// clang-format on

}  // namespace

bool FromShiftJis(std::string_view bytes, std::string& utf8) {
    char* text = DecodeShiftJis(bytes.data(), static_cast<int>(bytes.size()));
    if (!text) {
        return false;
    }
    utf8 = text;
    std::free(text);
    return true;
}

}  // namespace hashigoro
