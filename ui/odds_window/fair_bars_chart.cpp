#include "fair_bars_chart.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "catalogue.h"
#include "gothic_font.h"
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
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(GothicFont(11.25, true));
    chart->legend()->setFont(GothicFont(9, false));
    chart->setMargins(QMargins(4, 4, 4, 4));
    made.first = Bars(first, QColor(255, 0, 0));
    made.second = Bars(second, QColor(255, 170, 170));
    auto* series = new QBarSeries;
    series->append(made.first);
    series->append(made.second);
    chart->addSeries(series);
    auto* fair = new QLineSeries;
    fair->setName(ToQString(texts::Text(TextId::FairSeries)));
    fair->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    fair->append(-0.5, 10);
    fair->append(9.5, 10);
    chart->addSeries(fair);
    auto* categories = new QBarCategoryAxis;
    categories->append(lines);
    categories->setTitleText(linesTitle);
    categories->setTitleFont(GothicFont(9.75, false));
    categories->setLabelsFont(GothicFont(9, false));
    // The fair line is drawn on a hidden axis of the same span as the categories.
    auto* hidden = new QValueAxis;
    hidden->setRange(-0.5, 9.5);
    hidden->setVisible(false);
    made.percent = new QValueAxis;
    made.percent->setRange(0, 40);
    made.percent->setTitleText(ToQString(texts::Text(TextId::PercentAxis)));
    made.percent->setLabelFormat("%.0f");
    made.percent->setTitleFont(GothicFont(9.75, false));
    made.percent->setLabelsFont(GothicFont(9, false));
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
