// Draws the program's icon for the desktop's icon theme: one PNG for each size given, each
// painted at its own size, and a scalable SVG, all by the same painting code as the window's
// icon. Usage: icon_generator OUTPUT_FOLDER SIZE...
// Writes OUTPUT_FOLDER/SIZE.png for every SIZE and OUTPUT_FOLDER/scalable.svg.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "window_icon.h"

int main(int argc, char* argv[]) {
    // No display is needed to paint into images and files.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: icon_generator OUTPUT_FOLDER SIZE...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        QImage image(size, size, QImage::Format_RGB888);
        QPainter painter(&image);
        hashigoro::PaintIcon(painter, size);
        painter.end();
        if (size < 16 || !image.save(QString("%1/%2.png").arg(folder).arg(size))) {
            std::fprintf(stderr, "icon_generator: cannot write the %s px icon\n", argv[i]);
            return 1;
        }
    }
    QSvgGenerator svg;
    svg.setFileName(folder + "/scalable.svg");
    svg.setSize(QSize(32, 32));
    svg.setViewBox(QRect(0, 0, 32, 32));
    svg.setTitle("はしごろう");
    QPainter painter(&svg);
    hashigoro::PaintIcon(painter, 32);
    return painter.end() ? 0 : 1;
}
