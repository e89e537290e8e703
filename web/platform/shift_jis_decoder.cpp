#include <emscripten.h>

#include <cstdlib>

#include "text_encoding.h"

namespace hashigoro {

namespace {

// clang-format off
// The browser's decoder, which reads Shift_JIS by Windows' table; the text's UTF-8 in memory
// the caller frees, its length (a NUL in it is kept) at `length`, or null when the bytes are not
// Shift_JIS or there is no memory for the text.
EM_JS(char*, DecodeShiftJis, (const char* bytes, int size, int* length), {
    try {
        const text = new TextDecoder('shift_jis', { fatal: true })
            .decode(HEAPU8.subarray(bytes, bytes + size));
        const room = lengthBytesUTF8(text) + 1;
        const out = _malloc(room);
        if (!out) {
            return 0;
        }
        HEAP32[length >> 2] = stringToUTF8(text, out, room);
        return out;
    } catch (error) {
        return 0;
    }
});
// clang-format on

}  // namespace

bool FromShiftJis(std::string_view bytes, std::string& utf8) {
    int length = 0;
    char* text = DecodeShiftJis(bytes.data(), static_cast<int>(bytes.size()), &length);
    if (!text) {
        return false;
    }
    utf8.assign(text, static_cast<std::size_t>(length));
    std::free(text);
    return true;
}

}  // namespace hashigoro
