#include "ladder_surface.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "twips.h"

namespace hashigoro {

namespace {

constexpr int kBorder = 2;                           // pixels of sunken frame on each side
constexpr int kInnerWidth = 9555 / kTwipsPerPixel;   // 637
constexpr int kInnerHeight = 6795 / kTwipsPerPixel;  // 453
constexpr int kSquareTwips = 135;
// Left edges of the bars o1..o10, in twips from the inner area's left edge.
constexpr std::array<int, LadderSurface::kBars> kBarLeft = {1419, 2160, 2880, 3624, 4359,
                                                            5094, 5829, 6564, 7299, 8040};

QColor PaletteRgb(PaletteColour colour) {
    return colour == PaletteColour::LightRed ? QColor(255, 0, 0) : QColor(0, 0, 0);
}

// The ladder's background: the scheme's own window colour when it is light, or else the light
// default, so that the black lines and the red path stand out under a dark scheme too.
QColor Background(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    return window.lightness() >= 128 ? window : QColor(239, 239, 239);
}

QWidget* MakeRedSquare(QWidget* parent, QRect twipsInInner, const QString& name) {
    auto* square = new QWidget(parent);
    square->setObjectName(name);
    square->setGeometry(twipsInInner.translated(kBorder, kBorder));
    square->setAutoFillBackground(true);
    QPalette palette = square->palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 0));
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

    startSquare_ = MakeRedSquare(this, TwipsRect(2889, 480, kSquareTwips, kSquareTwips),
                                 QStringLiteral("Picture2"));
    for (int bar = 1; bar <= kBars; ++bar) {
        for (int index = 1; index <= kSquares; ++index) {
            const int top = 6480 - 120 * (index - 1);
            QWidget* square =
                MakeRedSquare(this, TwipsRect(kBarLeft[bar - 1], top, kSquareTwips, kSquareTwips),
                              QStringLiteral("o%1_%2").arg(bar).arg(index));
            square->hide();
            squares_[bar - 1][index - 1] = square;
        }
    }
}

QPoint LadderSurface::BoardToPixel(double x, double y) {
    return QPoint(static_cast<int>(std::lround(x * kInnerWidth / kScaleWidth)),
                  static_cast<int>(std::lround(y * kInnerHeight / kScaleHeight)));
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
