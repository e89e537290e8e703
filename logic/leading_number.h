#pragma once

#include <string_view>

namespace hashigoro {

// The value of the number that a text begins with, read from left to right.
//
// Blanks, tabs and line feeds are skipped wherever they stand, also between digits. Decimal:
// an optional sign, digits with the period as the only decimal separator (whatever the locale),
// and an optional exponent: E or e, an optional sign and at least one digit. "&H" and "&O"
// (either case) begin a hexadecimal or octal number, read without sign. The full-width forms
// that a Japanese input method types (U+FF01..U+FF5E) read as their ASCII characters, the
// ideographic space U+3000 as a blank and U+2212 as a minus sign. Reading stops at the
// first character that cannot continue the number; a text that does not begin with a number
// is worth 0. Overlong numbers give an infinite value rather than a wrong finite one.
// `text` is UTF-8; invalid bytes simply end the number.
double LeadingNumberValue(std::string_view text);

}  // namespace hashigoro
