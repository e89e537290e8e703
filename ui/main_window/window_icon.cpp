#include "window_icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace hashigoro {

QIcon MakeWindowIcon() {
    QImage image(32, 32, QImage::Format_RGB888);  // 24-bit colour
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    // Five lines from y = 6 to y = 21, five pixels apart, with a few rungs between them.
    const int lineX[] = {6, 11, 16, 21, 26};
    for (int x : lineX) {
        painter.drawLine(x, 6, x, 21);
    }
    const int rungs[][2] = {{0, 9}, {2, 10}, {1, 13}, {3, 12}, {0, 16}, {2, 18}, {3, 15}, {1, 19}};
    for (const auto& rung : rungs) {
        painter.drawLine(lineX[rung[0]], rung[1], lineX[rung[0] + 1], rung[1]);
    }
    const QColor red(255, 0, 0);
    painter.fillRect(15, 2, 3, 3, red);  // the start square above the third line
    const int barHeights[] = {3, 6, 8, 5, 2};
    for (int i = 0; i < 5; ++i) {
        painter.fillRect(lineX[i] - 1, 30 - barHeights[i], 3, barHeights[i], red);
    }
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace hashigoro
