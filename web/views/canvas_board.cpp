#include "canvas_board.h"

#include <algorithm>
#include <cmath>

#include "page.h"
#include "window_layout.h"
#include "window_scale.h"

namespace hashigoro::web {

namespace {

constexpr int kBorder = layout::Px(layout::kLadderBorder);
constexpr int kInnerWidth = layout::Px(layout::kLadderInnerWidth);
constexpr int kInnerHeight = layout::Px(layout::kLadderInnerHeight);
constexpr int kWidth = kInnerWidth + 2 * kBorder;
constexpr int kHeight = kInnerHeight + 2 * kBorder;

}  // namespace

CanvasBoard::CanvasBoard(emscripten::val canvas)
    : canvas_(canvas), context_(canvas.call<emscripten::val>("getContext", std::string("2d"))) {
    SetScale(1, 1);
}

void CanvasBoard::Clear() {
    strokes_.clear();
    context_.set("fillStyle", Rgb(layout::kLadderPaper));
    Fill(kBorder, kBorder, kInnerWidth, kInnerHeight);
}

void CanvasBoard::Line(float x1, float y1, float x2, float y2, PaletteColour colour) {
    strokes_.push_back({x1, y1, x2, y2, colour});
    Draw(strokes_.back());
}

void CanvasBoard::SetScale(double scale, double devicePixelRatio) {
    const int width = DevicePixels(kWidth, scale, devicePixelRatio);
    const int height = DevicePixels(kHeight, scale, devicePixelRatio);
    if (width == width_ && height == height_ && devicePixelRatio == ratio_) {
        return;
    }
    width_ = width;
    height_ = height;
    ratio_ = devicePixelRatio;
    pixel_ = static_cast<double>(width) / kWidth;
    canvas_.set("width", width);
    canvas_.set("height", height);
    // The element is exactly its backing store, so nothing is resampled.
    SetStyle(canvas_, "width", std::to_string(width / devicePixelRatio) + "px");
    SetStyle(canvas_, "height", std::to_string(height / devicePixelRatio) + "px");
    DrawFrame();
    const std::vector<Stroke> strokes = std::move(strokes_);
    Clear();
    for (const Stroke& stroke : strokes) {
        Line(stroke.x1, stroke.y1, stroke.x2, stroke.y2, stroke.colour);
    }
}

void CanvasBoard::Fill(int x, int y, int width, int height) {
    const auto device = [this](int windowPixel) {
        return static_cast<int>(std::floor(windowPixel * pixel_ + 1e-9));
    };
    // Below scale 1 a pixel may shrink to nothing: it keeps one device pixel.
    context_.call<void>("fillRect", device(x), device(y),
                        std::max(1, device(x + width) - device(x)),
                        std::max(1, device(y + height) - device(y)));
}

void CanvasBoard::DrawFrame() {
    // As the desktop's style shades a sunken panel two pixels wide: light where the lower and
    // right edges meet the upper and left ones.
    context_.set("fillStyle", Rgb(layout::kSunkenShadow));
    Fill(0, 0, kWidth - 1, 1);
    Fill(0, 1, kWidth - 2, 1);
    Fill(0, 0, 1, kHeight - 1);
    Fill(1, 0, 1, kHeight - 2);
    context_.set("fillStyle", Rgb(layout::kSunkenLight));
    Fill(0, kHeight - 1, kWidth, 1);
    Fill(1, kHeight - 2, kWidth - 1, 1);
    Fill(kWidth - 1, 0, 1, kHeight);
    Fill(kWidth - 2, 1, 1, kHeight - 1);
}

void CanvasBoard::Draw(const Stroke& stroke) {
    // The window pixels that the line covers, as the desktop's one-pixel pen with square ends
    // covers them; at a larger scale the pen is as many whole device pixels as one window pixel.
    const layout::Pixel from = layout::BoardToPixel(stroke.x1, stroke.y1);
    const layout::Pixel to = layout::BoardToPixel(stroke.x2, stroke.y2);
    context_.set("fillStyle",
                 Rgb(stroke.colour == PaletteColour::LightRed ? layout::kRed : layout::kBlack));
    context_.call<void>("save");
    context_.call<void>("beginPath");
    context_.call<void>(
        "rect", std::floor(kBorder * pixel_), std::floor(kBorder * pixel_),
        std::floor((kBorder + kInnerWidth) * pixel_) - std::floor(kBorder * pixel_),
        std::floor((kBorder + kInnerHeight) * pixel_) - std::floor(kBorder * pixel_));
    context_.call<void>("clip");
    if (from.x == to.x || from.y == to.y) {
        // One pen for every line: as many whole device pixels as a window pixel covers.
        const int pen = std::max(1, static_cast<int>(std::lround(pixel_)));
        const auto device = [this](int windowPixel) {
            return static_cast<int>(std::floor((kBorder + windowPixel) * pixel_ + 1e-9));
        };
        const int left = device(std::min(from.x, to.x));
        const int top = device(std::min(from.y, to.y));
        context_.call<void>("fillRect", left, top, device(std::max(from.x, to.x)) + pen - left,
                            device(std::max(from.y, to.y)) + pen - top);
    } else {
        // Only the two directions occur on a ladder; any other line is drawn as a path.
        context_.set("strokeStyle", context_["fillStyle"]);
        context_.set("lineWidth", pixel_);
        context_.call<void>("beginPath");
        context_.call<void>("moveTo", (kBorder + from.x + 0.5) * pixel_,
                            (kBorder + from.y + 0.5) * pixel_);
        context_.call<void>("lineTo", (kBorder + to.x + 0.5) * pixel_,
                            (kBorder + to.y + 0.5) * pixel_);
        context_.call<void>("stroke");
    }
    context_.call<void>("restore");
}

}  // namespace hashigoro::web
