#pragma once

#include <QRect>

namespace hashigoro {

// The layout is given in twips: 1440 to the inch, so 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// Whole pixels for a twip measure, rounded down: the few places that fall between pixels (the
// tally squares at 1419, 3624, ... twips) then sit centred under their lines.
constexpr int Px(int twips) {
    return twips / kTwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace hashigoro
