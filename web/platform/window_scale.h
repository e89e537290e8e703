#pragma once

#include "window_layout.h"

namespace hashigoro::web {

// The scale at which a window of `width` x `height` pixels fits a viewport of `viewportWidth`
// x `viewportHeight` CSS pixels whole, with `margin` pixels free on every side: never above 3,
// never below `least` (where it does not fit then, the page scrolls).
double FitScale(double width, double height, double viewportWidth, double viewportHeight,
                double margin, double least);

// The least scale at which every button shown in `window` is a finger's target: at least
// 24 x 24 CSS pixels.
double TouchScale(const layout::Window& window);

// Device pixels for `pixels` window pixels at `scale` on a screen of `devicePixelRatio`:
// whole device pixels, and at least one, so that a one-pixel line stays crisp and visible.
int DevicePixels(double pixels, double scale, double devicePixelRatio);

}  // namespace hashigoro::web
