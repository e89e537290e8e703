#pragma once

#include <QColor>
#include <QPen>
#include <QString>

#include <vector>

class QAbstractAxis;
class QChart;
class QLineSeries;

namespace hashigoro {

// The answer sheet's charts, all alike: a bold gothic title, a small legend, narrow margins.
QChart* StyledChart(const QString& title);
// An axis's title and labels in the sheet's gothic.
void StyleAxis(QAbstractAxis* axis, const QString& title);
// Takes every series and axis out of `chart`, to draw it anew.
void EmptyChart(QChart* chart);
// Attaches every series of `chart` to the two axes, which it adds.
void AttachAxes(QChart* chart, QAbstractAxis* x, QAbstractAxis* y);
// A curve through the points (x[i], y[i]), drawn with `pen`.
QLineSeries* Curve(const QString& name, const std::vector<double>& x, const std::vector<double>& y,
                   const QPen& pen);
// Line `line`'s (1..10) colour in the class's charts.
QColor LineQColor(int line);
// A level at `y` across the chart, from x `from` to `to`.
QLineSeries* Level(const QString& name, double y, double from, double to, const QPen& pen);

}  // namespace hashigoro
