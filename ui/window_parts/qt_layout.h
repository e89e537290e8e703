#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string_view>

#include "window_layout.h"

namespace hashigoro {

// The layout table's values in Qt's types.

using layout::Px;

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
