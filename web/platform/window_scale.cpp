#include "window_scale.h"

#include <algorithm>
#include <cmath>

namespace hashigoro::web {

double FitScale(double width, double height, double viewportWidth, double viewportHeight,
                double margin) {
    const double roomX = std::max(viewportWidth - 2 * margin, 1.0);
    const double roomY = std::max(viewportHeight - 2 * margin, 1.0);
    return std::clamp(std::min(roomX / width, roomY / height), 0.25, 3.0);
}

int DevicePixels(double pixels, double scale, double devicePixelRatio) {
    return std::max(1, static_cast<int>(std::floor(pixels * scale * devicePixelRatio + 1e-9)));
}

}  // namespace hashigoro::web
