// Fuzzes the reading of the rung-count entry and compares it with a second reading of the same
// rules, written as plainly as possible, so that the fuzzer finds disagreements as well as
// crashes.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "leading_number.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text as the reader sees it: blanks, tabs, line feeds and ideographic spaces (E3 80 80)
// gone, the full-width forms EF BC 81..EF BD 9E made ASCII (U+FF01..U+FF5E), the minus sign
// E2 88 92 made '-', and the text cut at the first other non-ASCII byte (which no number can
// contain).
std::string Plain(std::string_view text) {
    std::string out;
    const auto at = [&](std::size_t k) {
        return k < text.size() ? static_cast<unsigned char>(text[k]) : 0;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = at(i);
        if (byte == ' ' || byte == '\t' || byte == '\n') {
            continue;
        }
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            continue;
        }
        if (byte == 0xE3 && at(i + 1) == 0x80 && at(i + 2) == 0x80) {
            i += 2;
            continue;
        }
        if (byte == 0xE2 && at(i + 1) == 0x88 && at(i + 2) == 0x92) {
            out += '-';
            i += 2;
            continue;
        }
        if (byte == 0xEF && at(i + 1) == 0xBC && at(i + 2) >= 0x81 && at(i + 2) <= 0xBF) {
            out += static_cast<char>(0x21 + at(i + 2) - 0x81);
            i += 2;
            continue;
        }
        if (byte == 0xEF && at(i + 1) == 0xBD && at(i + 2) >= 0x80 && at(i + 2) <= 0x9E) {
            out += static_cast<char>(0x60 + at(i + 2) - 0x80);
            i += 2;
            continue;
        }
        break;
    }
    return out;
}

// &H / &O numbers, digit by digit in long double.
double Radix(const std::string& s, int radix) {
    long double value = 0;
    for (std::size_t i = 2; i < s.size(); ++i) {
        const char c = s[i];
        int d = -1;
        if (IsDigit(c)) {
            d = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        }
        if (d < 0 || d >= radix) {
            break;
        }
        value = value * radix + d;
    }
    return static_cast<double>(value);
}

// The longest prefix of the form [+-] digits [. digits] [e [+-] digits], handed to strtod.
double Decimal(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) {
                ++j;
            }
            i = j;
        }
    }
    return std::strtod(s.substr(0, i).c_str(), nullptr);
}

double Reference(std::string_view text) {
    const std::string s = Plain(text);
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
        return Radix(s, 16);
    }
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o')) {
        return Radix(s, 8);
    }
    return Decimal(s);
}

bool Agree(double a, double b) {
    if (a == b) {
        return true;
    }
    // Below the smallest normal double the two may round differently to zero or a subnormal;
    // long &H numbers round once here and digit by digit there.
    if (std::fabs(a) < 2.3e-308 && std::fabs(b) < 2.3e-308) {
        return true;
    }
    return std::isfinite(a) && std::isfinite(b) && std::fabs(a - b) <= 1e-12 * std::fabs(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = hashigoro::LeadingNumberValue(text);
    const double expected = Reference(text);
    if (std::isnan(value) || !Agree(value, expected)) {
        std::fprintf(stderr, "reading %.17g, reference %.17g\n", value, expected);
        std::abort();
    }
    return 0;
}
