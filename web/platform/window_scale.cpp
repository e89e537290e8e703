#include "window_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hashigoro::web {

double FitScale(double width, double height, double viewportWidth, double viewportHeight,
                double margin, double least) {
    const double roomX = std::max(viewportWidth - 2 * margin, 1.0);
    const double roomY = std::max(viewportHeight - 2 * margin, 1.0);
    return std::clamp(std::min(roomX / width, roomY / height), least, 3.0);
}

double TouchScale(const layout::Window& window) {
    // WCAG 2.2's least target for a pointer, in CSS pixels.
    constexpr double kTarget = 24;
    double smallest = std::numeric_limits<double>::max();
    for (const layout::Control& control : window.controls) {
        if (control.kind == layout::ControlKind::CommandButton && control.visible) {
            smallest = std::min({smallest, static_cast<double>(layout::Px(control.rect.width)),
                                 static_cast<double>(layout::Px(control.rect.height))});
        }
    }
    return smallest == std::numeric_limits<double>::max() ? 1.0 : kTarget / smallest;
}

int DevicePixels(double pixels, double scale, double devicePixelRatio) {
    return std::max(1, static_cast<int>(std::floor(pixels * scale * devicePixelRatio + 1e-9)));
}

}  // namespace hashigoro::web
