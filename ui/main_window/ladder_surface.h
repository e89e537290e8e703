#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <array>

#include "ladder_board.h"
#include "window_layout.h"

namespace hashigoro {

// Picture1, the ladder surface: a sunken two-pixel frame around an inner area of 637 x 453
// pixels, scaled to 13 x 100 board units. It draws into a persistent image, so nothing drawn
// is lost when a dialog or another window covers it; only the dirty rectangle is repainted.
// It holds the start square Picture2 and the 200 tally squares o1..o10 as child widgets, which
// always show above the drawing and are not touched by Clear().
class LadderSurface final : public QFrame, public LadderBoard {
    Q_OBJECT

  public:
    static constexpr int kBars = layout::kBars;              // o1..o10
    static constexpr int kSquares = layout::kSquaresPerBar;  // indexes 1..20 of each bar

    explicit LadderSurface(QWidget* parent);

    void Clear() override;
    void Line(float x1, float y1, float x2, float y2, PaletteColour colour) override;

    // The pixel of the inner area on which board point (x, y) lies, rounded to the nearest.
    static QPoint BoardToPixel(double x, double y);

    // Square `index` (1..20) of bar o`bar` (1..10).
    QWidget* TallySquare(int bar, int index) const;
    QWidget* StartSquare() const { return startSquare_; }

    // What has been drawn, without the frame and the child squares.
    const QImage& Drawing() const { return drawing_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPoint InnerOrigin() const { return contentsRect().topLeft(); }

    QImage drawing_;
    QWidget* startSquare_;
    std::array<std::array<QWidget*, kSquares>, kBars> squares_{};
};

}  // namespace hashigoro
