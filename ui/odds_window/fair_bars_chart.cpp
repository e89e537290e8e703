#include "fair_bars_chart.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "catalogue.h"
#include "chart_style.h"
#include "odds_sheet_text.h"
#include "qt_layout.h"

namespace hashigoro {

namespace {

QBarSet* Bars(const QString& name, const QColor& colour) {
    auto* bars = new QBarSet(name);
    bars->setColor(colour);
    bars->setBorderColor(colour);
    for (int c = 0; c < 10; ++c) {
        *bars << 0;
    }
    return bars;
}

}  // namespace

FairBarsChart MakeFairBarsChart(const QString& title, const QString& first, const QString& second,
                                const QStringList& lines, const QString& linesTitle) {
    FairBarsChart made;
    QChart* chart = StyledChart(title);
    made.first = Bars(first, QColor(255, 0, 0));
    made.second = Bars(second, QColor(255, 170, 170));
    auto* series = new QBarSeries;
    series->append(made.first);
    series->append(made.second);
    chart->addSeries(series);
    QLineSeries* fair = Level(ToQString(texts::Text(TextId::FairSeries)), 10, -0.5, 9.5,
                              QPen(Qt::black, 1.5, Qt::DashLine));
    chart->addSeries(fair);
    auto* categories = new QBarCategoryAxis;
    categories->append(lines);
    StyleAxis(categories, linesTitle);
    // The fair line is drawn on a hidden axis of the same span as the categories.
    auto* hidden = new QValueAxis;
    hidden->setRange(-0.5, 9.5);
    hidden->setVisible(false);
    made.percent = new QValueAxis;
    made.percent->setRange(0, 40);
    made.percent->setLabelFormat("%.0f");
    StyleAxis(made.percent, ToQString(texts::Text(TextId::PercentAxis)));
    chart->addAxis(categories, Qt::AlignBottom);
    chart->addAxis(hidden, Qt::AlignBottom);
    chart->addAxis(made.percent, Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(made.percent);
    fair->attachAxis(hidden);
    fair->attachAxis(made.percent);
    made.view = new QChartView(chart);
    return made;
}

}  // namespace hashigoro
