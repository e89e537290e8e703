#pragma once

#include <emscripten/val.h>

#include <vector>

#include "ladder_board.h"

namespace hashigoro::web {

// Picture1 on a page: one canvas for the whole surface, its sunken two-pixel frame and the
// 637 x 453 window pixels inside it, at whatever scale the page shows the window, with a
// backing store of whole device pixels, so that every line stays one crisp device pixel wide
// (or more, never blurred). What is drawn is kept, so that a new scale draws it again.
class CanvasBoard final : public LadderBoard {
  public:
    explicit CanvasBoard(emscripten::val canvas);

    void Clear() override;
    void Line(float x1, float y1, float x2, float y2, PaletteColour colour) override;

    // Sizes the backing store for `scale` and `devicePixelRatio` and draws everything again;
    // a size it has already keeps what it shows.
    void SetScale(double scale, double devicePixelRatio);

  private:
    struct Stroke {
        float x1, y1, x2, y2;
        PaletteColour colour;
    };
    void DrawFrame();
    void Draw(const Stroke& stroke);
    // Fills the surface's window pixels from (x, y), `width` x `height` of them.
    void Fill(int x, int y, int width, int height);

    emscripten::val canvas_;
    emscripten::val context_;
    std::vector<Stroke> strokes_;
    double pixel_ = 1;  // device pixels per window pixel
    int width_ = 0;     // of the backing store, in device pixels
    int height_ = 0;
    double ratio_ = 0;  // device pixels per CSS pixel
};

}  // namespace hashigoro::web
