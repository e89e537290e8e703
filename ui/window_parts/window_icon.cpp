#include "window_icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace hashigoro {

namespace {

// Pixel edge of grid line `units` (0..32) in an icon of `size` pixels.
int Edge(int units, int size) {
    return static_cast<int>(std::lround(units * size / 32.0));
}

// Fills the grid rectangle (x, y, w, h) with whole pixels, at least one in each direction.
void FillGrid(QPainter& painter, int size, int x, int y, int w, int h, const QColor& colour) {
    const int left = Edge(x, size);
    const int top = Edge(y, size);
    const int width = std::max(Edge(x + w, size) - left, 1);
    const int height = std::max(Edge(y + h, size) - top, 1);
    painter.fillRect(left, top, width, height, colour);
}

}  // namespace

void PaintIcon(QPainter& painter, int size) {
    const QColor black(0, 0, 0);
    const QColor red(255, 0, 0);
    FillGrid(painter, size, 0, 0, 32, 32, QColor(255, 255, 255));
    // Five lines from y = 6 to y = 21, five units apart, with a few rungs between them.
    const int lineX[] = {6, 11, 16, 21, 26};
    for (int x : lineX) {
        FillGrid(painter, size, x, 6, 1, 16, black);
    }
    const int rungs[][2] = {{0, 9}, {2, 10}, {1, 13}, {3, 12}, {0, 16}, {2, 18}, {3, 15}, {1, 19}};
    for (const auto& [line, y] : rungs) {
        FillGrid(painter, size, lineX[line], y, lineX[line + 1] - lineX[line] + 1, 1, black);
    }
    FillGrid(painter, size, 15, 2, 3, 3, red);  // the start square above the third line
    const int barHeights[] = {3, 6, 8, 5, 2};
    for (int i = 0; i < 5; ++i) {
        FillGrid(painter, size, lineX[i] - 1, 30 - barHeights[i], 3, barHeights[i], red);
    }
}

QIcon MakeWindowIcon() {
    QImage image(32, 32, QImage::Format_RGB888);  // 24-bit colour
    QPainter painter(&image);
    PaintIcon(painter, 32);
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace hashigoro
