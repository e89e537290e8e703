#include "rule_line.h"

#include <QPainter>

namespace hashigoro {

RuleLine::RuleLine(int left, int right, int y, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Line1"));
    setGeometry(left, y, right - left + 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RuleLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

}  // namespace hashigoro
