#include "text_encoding.h"

#include <cstdint>

namespace hashigoro {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the valid UTF-8 sequence at `i`, or 0.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) {
        return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u;
    };
    const unsigned b0 = byte(0);
    const auto follows = [&](std::size_t k) { return (byte(k) & 0xC0) == 0x80; };
    if (b0 < 0x80) {
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        return follows(1) ? 2 : 0;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        const unsigned b1 = byte(1);
        const bool range = (b0 != 0xE0 || b1 >= 0xA0) && (b0 != 0xED || b1 < 0xA0);
        return range && follows(1) && follows(2) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        const unsigned b1 = byte(1);
        const bool range = (b0 != 0xF0 || b1 >= 0x90) && (b0 != 0xF4 || b1 < 0x90);
        return range && follows(1) && follows(2) && follows(3) ? 4 : 0;
    }
    return 0;
}

bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8Length(s, i);
        if (n == 0) {
            return false;
        }
        i += n;
    }
    return true;
}

std::string Utf16(std::string_view s, bool little) {
    std::string out;
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(s[i + 1]);
        return little ? (b << 8 | a) : (a << 8 | b);
    };
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < s.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // a lone half of a pair
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        DecodedText text = DecodeText(bytes);
        if (text.encoding == "UTF-8") {
            text.encoding = "UTF-8 (BOM)";
        }
        return text;
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        const bool little = bytes[0] == '\xFF';
        return {Utf16(bytes.substr(2), little), little ? "UTF-16LE" : "UTF-16BE"};
    }
    // Without a BOM, UTF-16 shows itself by its zero bytes: the high byte of every digit, blank
    // and separator, on one side of each pair only (UTF-8 and Shift_JIS have none but NUL).
    if (bytes.size() >= 4 && bytes.size() % 2 == 0) {
        std::size_t zeros[2] = {0, 0};
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            zeros[i % 2] += bytes[i] == '\0';
        }
        const std::size_t pairs = bytes.size() / 2;
        for (const bool little : {true, false}) {
            const std::size_t high = zeros[little ? 1 : 0];
            const std::size_t low = zeros[little ? 0 : 1];
            if (high * 4 >= pairs && low * 8 <= high) {
                return {Utf16(bytes, little), little ? "UTF-16LE" : "UTF-16BE"};
            }
        }
    }
    if (ValidUtf8(bytes)) {
        return {std::string(bytes), "UTF-8"};
    }
    DecodedText text{{}, "Shift_JIS"};
    if (FromShiftJis(bytes, text.utf8)) {
        return text;
    }
    text = {{}, "UTF-8 (?)"};
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = Utf8Length(bytes, i);
        if (n == 0) {
            AppendUtf8(text.utf8, 0xFFFD);
            ++i;
        } else {
            text.utf8.append(bytes.substr(i, n));
            i += n;
        }
    }
    return text;
}

}  // namespace hashigoro
