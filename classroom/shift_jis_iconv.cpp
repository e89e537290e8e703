#include <iconv.h>

#include "text_encoding.h"

namespace hashigoro {

bool FromShiftJis(std::string_view bytes, std::string& utf8) {
    // Windows' own table first; plain Shift_JIS where the library has no CP932.
    for (const char* name : {"CP932", "SHIFT_JIS"}) {
        const iconv_t convert = iconv_open("UTF-8", name);
        if (convert == reinterpret_cast<iconv_t>(-1)) {
            continue;
        }
        std::string in(bytes);
        utf8.assign(in.size() * 3 + 4, '\0');
        char* from = in.data();
        std::size_t left = in.size();
        char* to = utf8.data();
        std::size_t room = utf8.size();
        const std::size_t done = iconv(convert, &from, &left, &to, &room);
        iconv_close(convert);
        if (done != static_cast<std::size_t>(-1) && left == 0) {
            utf8.resize(utf8.size() - room);
            return true;
        }
    }
    return false;
}

}  // namespace hashigoro
