#pragma once

namespace hashigoro::web {

// The scale at which a window of `width` x `height` pixels fits a viewport of `viewportWidth`
// x `viewportHeight` CSS pixels whole, with `margin` pixels free on every side: never above 3,
// never below 0.25.
double FitScale(double width, double height, double viewportWidth, double viewportHeight,
                double margin);

// Device pixels for `pixels` window pixels at `scale` on a screen of `devicePixelRatio`:
// whole device pixels, and at least one, so that a one-pixel line stays crisp and visible.
int DevicePixels(double pixels, double scale, double devicePixelRatio);

}  // namespace hashigoro::web
