#include "plain_number.h"

#include <locale>
#include <sstream>

namespace hashigoro {

std::string PlainNumber(double value, int digits, NumberStyle style) {
    std::ostringstream out;
    // The classic locale of the stream, not the C library's global one that printf reads.
    out.imbue(std::locale::classic());
    if (style == NumberStyle::Fixed) {
        out.setf(std::ios::fixed, std::ios::floatfield);
    }
    out.precision(digits);
    out << value;
    return out.str();
}

}  // namespace hashigoro
