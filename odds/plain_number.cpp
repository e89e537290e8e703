#include "plain_number.h"

#include <clocale>
#include <cstdio>

namespace hashigoro {

std::string PlainNumber(double value, int digits, NumberStyle style) {
    char buffer[512];  // %.17f of the largest double needs 327 characters
    std::snprintf(buffer, sizeof buffer, style == NumberStyle::Fixed ? "%.*f" : "%.*g", digits,
                  value);
    // printf writes the decimal separator of the C library's locale: the point goes back.
    std::string text = buffer;
    const std::string separator = std::localeconv()->decimal_point;
    if (const std::size_t at = text.find(separator); separator != "." && at != std::string::npos) {
        text = text.substr(0, at) + "." + text.substr(at + separator.size());
    }
    return text;
}

}  // namespace hashigoro
