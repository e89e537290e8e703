#pragma once

#include <string>
#include <string_view>

namespace hashigoro {

// A file of result lines as text, whatever it was saved as.
struct DecodedText {
    std::string utf8;
    // "UTF-8", "UTF-8 (BOM)", "UTF-16LE", "UTF-16BE", "Shift_JIS", or "UTF-8 (?)" when the bytes
    // are none of these and what cannot be read became U+FFFD.
    std::string encoding;
};

// Reads UTF-8 with or without a BOM, UTF-16 with a BOM, and Shift_JIS as Windows writes it
// (CP932, as Excel saves a CSV on Japanese Windows), in that order of trust: a BOM decides;
// bytes that are valid UTF-8 are UTF-8; others are Shift_JIS when they are valid Shift_JIS.
DecodedText DecodeText(std::string_view bytes);

// Shift_JIS bytes as UTF-8, by Windows' table (CP932) where the platform has it; false when
// the bytes are not Shift_JIS. The desktop's comes from the C library's converter, the page's
// from the browser's own decoder, so that the page carries no tables of its own.
bool FromShiftJis(std::string_view bytes, std::string& utf8);

}  // namespace hashigoro
