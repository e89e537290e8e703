#include "ladder_surface.h"

#include <QPaintEvent>
#include <QPainter>

#include "qt_layout.h"

namespace hashigoro {

namespace {

constexpr int kBorder = Px(layout::kLadderBorder);            // 2 pixels on each side
constexpr int kInnerWidth = Px(layout::kLadderInnerWidth);    // 637
constexpr int kInnerHeight = Px(layout::kLadderInnerHeight);  // 453

QColor PaletteRgb(PaletteColour colour) {
    return ToQColor(colour == PaletteColour::LightRed ? layout::kRed : layout::kBlack);
}

// The ladder's background: the scheme's own window colour when it is light, or else the light
// default, so that the black lines and the red path stand out under a dark scheme too.
QColor Background(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    return window.lightness() >= 128 ? window : ToQColor(layout::kLadderPaper);
}

QWidget* MakeRedSquare(QWidget* parent, const layout::TwipsRect& inInner, const QString& name) {
    auto* square = new QWidget(parent);
    square->setObjectName(name);
    square->setGeometry(Pixels(inInner).translated(kBorder, kBorder));
    square->setAutoFillBackground(true);
    QPalette palette = square->palette();
    palette.setColor(QPalette::Window, ToQColor(layout::kRed));
    square->setPalette(palette);
    return square;
}

}  // namespace

LadderSurface::LadderSurface(QWidget* parent)
    : QFrame(parent), drawing_(kInnerWidth, kInnerHeight, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFocusPolicy(Qt::StrongFocus);
    drawing_.fill(Background(palette()));

    startSquare_ = MakeRedSquare(this, layout::kStartSquare, QStringLiteral("Picture2"));
    for (int bar = 1; bar <= kBars; ++bar) {
        for (int index = 1; index <= kSquares; ++index) {
            QWidget* square = MakeRedSquare(this, layout::TallySquare(bar, index),
                                            QStringLiteral("o%1_%2").arg(bar).arg(index));
            square->hide();
            squares_[bar - 1][index - 1] = square;
        }
    }
}

QPoint LadderSurface::BoardToPixel(double x, double y) {
    const layout::Pixel pixel = layout::BoardToPixel(x, y);
    return QPoint(pixel.x, pixel.y);
}

QWidget* LadderSurface::TallySquare(int bar, int index) const {
    return squares_.at(bar - 1).at(index - 1);
}

void LadderSurface::Clear() {
    drawing_.fill(Background(palette()));
    update(contentsRect());
}

void LadderSurface::Line(float x1, float y1, float x2, float y2, PaletteColour colour) {
    const QPoint from = BoardToPixel(x1, y1);
    const QPoint to = BoardToPixel(x2, y2);
    QPainter painter(&drawing_);
    painter.setPen(QPen(PaletteRgb(colour), 1, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(from, to);
    painter.end();
    const QRect dirty = QRect(from, to).normalized().adjusted(-1, -1, 1, 1);
    update(dirty.translated(InnerOrigin()).intersected(contentsRect()));
}

void LadderSurface::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect dirty = event->rect().intersected(contentsRect());
    painter.drawImage(dirty, drawing_, dirty.translated(-InnerOrigin()));
}

}  // namespace hashigoro
