#include "window_layout.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace hashigoro::layout {

Pixel BoardToPixel(double x, double y) {
    constexpr double kWidth = Px(kLadderInnerWidth);
    constexpr double kHeight = Px(kLadderInnerHeight);
    return {static_cast<int>(std::lround(x * kWidth / kBoardWidth)),
            static_cast<int>(std::lround(y * kHeight / kBoardHeight))};
}

const Control& Find(const Window& window, std::string_view name) {
    for (const Control& control : window.controls) {
        if (control.name == name) {
            return control;
        }
    }
    throw std::out_of_range("no control " + std::string(name));
}

}  // namespace hashigoro::layout
