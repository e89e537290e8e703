#include "help_surface.h"

#include <QPainter>

#include "gothic_font.h"
#include "qt_layout.h"

namespace hashigoro {

HelpSurface::HelpSurface(const layout::FontSpec& font, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    // Black on white whatever the desktop's colour scheme: a dark scheme's light text would
    // vanish on the white surface.
    QPalette white = palette();
    white.setColor(QPalette::Window, ToQColor(layout::kWhite));
    white.setColor(QPalette::WindowText, ToQColor(layout::kBlack));
    setPalette(white);
    setFont(GothicFont(font));
}

void HelpSurface::Clear() {
    lines_.clear();
    update();
}

void HelpSurface::PrintLine(const QString& line) {
    lines_.append(line);
    update();
}

int HelpSurface::LineTop(int n) const {
    return contentsRect().top() + n * fontMetrics().height();
}

void HelpSurface::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.setPen(palette().color(QPalette::WindowText));
    const int ascent = fontMetrics().ascent();
    for (int n = 0; n < lines_.size(); ++n) {
        painter.drawText(contentsRect().left(), LineTop(n) + ascent, lines_[n]);
    }
}

}  // namespace hashigoro
