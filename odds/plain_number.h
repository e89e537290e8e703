#pragma once

#include <string>

namespace hashigoro {

// A number as the files and the command line write it: with a decimal point and no group
// separators, whatever the locale of the process (a window's toolkit adopts the desktop's, and
// with it a decimal comma that would break the comma-separated fields).
//   significant: `digits` significant digits, as printf's %.*g
//   fixed:       `digits` digits after the point, as printf's %.*f
enum class NumberStyle { Significant, Fixed };
std::string PlainNumber(double value, int digits, NumberStyle style = NumberStyle::Significant);

}  // namespace hashigoro
