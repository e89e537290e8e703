#include "leading_number.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace hashigoro {

namespace {

// The code point of the UTF-8 sequence at `i`, and its length in bytes; U+FFFD with length 1 for
// a byte that starts no valid sequence.
std::pair<char32_t, std::size_t> DecodeAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || lead >= 0xF8 || i + length > text.size()) {
        return {lead < 0x80 ? lead : 0xFFFD, 1};
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            return {0xFFFD, 1};
        }
        code = (code << 6) | (byte(k) & 0x3F);
    }
    // An overlong form is no character: "\xC0\xB5" must not read as the digit 5.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length]) {
        return {0xFFFD, 1};
    }
    return {code, length};
}

// Decodes `text` into ASCII characters for the reader. A Japanese input method types the
// full-width forms (U+FF01..U+FF5E) of digits, signs, the period, the comma, E, &, H, O and the
// hexadecimal letters, so each counts as its ASCII character; the ideographic space U+3000 is
// a blank and U+2212 a minus sign. Skipped blanks are dropped, and every other non-ASCII
// character becomes '\x7f', which can continue no number.
std::string NormaliseForReading(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto [code, length] = DecodeAt(text, i);
        i += length;
        if (code >= 0xFF01 && code <= 0xFF5E) {
            code -= 0xFF01 - 0x21;
        } else if (code == 0x3000) {
            code = ' ';
        } else if (code == 0x2212) {
            code = '-';
        }
        if (code == ' ' || code == '\t' || code == '\n') {
            continue;
        }
        out.push_back(code < 0x80 ? static_cast<char>(code) : '\x7f');
    }
    return out;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

double ReadRadix(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0 || d >= radix) {
            break;
        }
        value = value * radix + d;
    }
    return value;
}

// Roughly the decimal exponent of a nonzero number written as [-]digits[.digits][e[+-]digits]:
// positive for numbers of 1 and above, zero or negative below. Saturates instead of overflowing.
long long DecimalMagnitude(std::string_view number) {
    std::size_t i = number.front() == '-' ? 1 : 0;
    long long magnitude = 0;
    bool leading = true;
    for (; i < number.size() && IsDigit(number[i]); ++i) {
        leading = leading && number[i] == '0';
        magnitude += leading ? 0 : 1;
    }
    if (leading && i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && number[i] == '0'; ++i) {
            --magnitude;
        }
    }
    const std::size_t e = number.find('e');
    if (e != std::string_view::npos) {
        const bool negative = e + 1 < number.size() && number[e + 1] == '-';
        long long exponent = 0;
        for (std::size_t j = e + 1; j < number.size(); ++j) {
            if (IsDigit(number[j]) && exponent < 1'000'000'000'000LL) {
                exponent = exponent * 10 + (number[j] - '0');
            }
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

double ReadDecimal(std::string_view s) {
    std::size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') {
            number.push_back('-');
        }
        ++i;
    }
    std::size_t mantissaDigits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissaDigits) {
        number.push_back(s[i]);
    }
    if (i < s.size() && s[i] == '.') {
        number.push_back('.');
        for (++i; i < s.size() && IsDigit(s[i]); ++i, ++mantissaDigits) {
            number.push_back(s[i]);
        }
    }
    if (mantissaDigits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponent.push_back(s[j]);
            ++j;
        }
        const std::size_t firstExponentDigit = j;
        for (; j < s.size() && IsDigit(s[j]); ++j) {
            exponent.push_back(s[j]);
        }
        if (j > firstExponentDigit) {
            number += exponent;
        }
    }
    // strtod reads the decimal separator of the C library's locale, which a window's toolkit
    // sets from the desktop (a comma in de_DE): the point becomes that separator first.
    std::string localised = number;
    if (const std::size_t point = number.find('.'); point != std::string::npos) {
        localised =
            number.substr(0, point) + std::localeconv()->decimal_point + number.substr(point + 1);
    }
    errno = 0;
    const double value = std::strtod(localised.c_str(), nullptr);
    if (errno == ERANGE) {
        // Too large or too small for a double.
        const double magnitude = DecimalMagnitude(number) > 0 ? HUGE_VAL : 0.0;
        return number.front() == '-' ? -magnitude : magnitude;
    }
    return value;
}

}  // namespace

double LeadingNumberValue(std::string_view text) {
    const std::string s = NormaliseForReading(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') {
            return ReadRadix(std::string_view(s).substr(2), 16);
        }
        if (s[1] == 'O' || s[1] == 'o') {
            return ReadRadix(std::string_view(s).substr(2), 8);
        }
    }
    return ReadDecimal(s);
}

}  // namespace hashigoro
