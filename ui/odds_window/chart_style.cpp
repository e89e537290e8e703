#include "chart_style.h"

#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>

#include "class_trend.h"
#include "gothic_font.h"

namespace hashigoro {

QChart* StyledChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(GothicFont(11.25, true));
    chart->legend()->setFont(GothicFont(9, false));
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

void StyleAxis(QAbstractAxis* axis, const QString& title) {
    axis->setTitleText(title);
    axis->setTitleFont(GothicFont(9.75, false));
    axis->setLabelsFont(GothicFont(9, false));
}

void EmptyChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

void AttachAxes(QChart* chart, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
}

QLineSeries* Curve(const QString& name, const std::vector<double>& x, const std::vector<double>& y,
                   const QPen& pen) {
    auto* curve = new QLineSeries;
    curve->setName(name);
    curve->setPen(pen);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(x.size()));
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        points.append(QPointF(x[i], y[i]));
    }
    curve->replace(points);
    return curve;
}

QColor LineQColor(int line) {
    const LineColour colour = ColourOfLine(line);
    return QColor(colour.red, colour.green, colour.blue);
}

QLineSeries* Level(const QString& name, double y, double from, double to, const QPen& pen) {
    return Curve(name, {from, to}, {y, y}, pen);
}

}  // namespace hashigoro
