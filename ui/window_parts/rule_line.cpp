#include "rule_line.h"

#include <QPainter>

#include "qt_layout.h"

namespace hashigoro {

RuleLine::RuleLine(const layout::Control& line, QWidget* parent) : QWidget(parent) {
    setObjectName(ToQString(line.name));
    const int left = Px(line.rect.left);
    const int right = Px(line.rect.left + line.rect.width);
    setGeometry(left, Px(line.rect.top), right - left + 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RuleLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

}  // namespace hashigoro
