#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string_view>

#include "window_layout.h"

namespace hashigoro {

// The layout table's values in Qt's types.

// Whole pixels for a twip measure, rounded down: the few places that fall between pixels (the
// tally squares at 1419, 3624, ... twips) then sit centred under their lines.
constexpr int Px(int twips) {
    return twips / layout::kTwipsPerPixel;
}

constexpr QRect Pixels(const layout::TwipsRect& twips) {
    return QRect(Px(twips.left), Px(twips.top), Px(twips.width), Px(twips.height));
}

inline QColor ToQColor(const layout::Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace hashigoro
