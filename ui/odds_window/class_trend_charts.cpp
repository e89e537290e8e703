#include "class_trend_charts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

#include "catalogue.h"
#include "chart_style.h"
#include "class_sheet.h"
#include "experiment_state.h"
#include "gothic_font.h"
#include "odds_sheet_text.h"
#include "qt_layout.h"

namespace hashigoro {

namespace {

constexpr int kFewestScaled = 10;

QString LineName(int line) {
    return ToQString(odds_sheet::ArrivalLine(line + 1));
}

// The percent axis: from 0 to the next ten above everything drawn, 40 at the least.
QValueAxis* PercentAxis(double highest) {
    auto* axis = new QValueAxis;
    axis->setRange(0, std::max(40.0, std::ceil(highest / 10) * 10));
    axis->setLabelFormat("%.0f");
    StyleAxis(axis, ToQString(texts::Text(TextId::ClassShareHeader)));
    return axis;
}

}  // namespace

ClassTrendCharts::ClassTrendCharts(QWidget* parent) : QWidget(parent) {
    auto* choice = new QHBoxLayout;
    choice->setSpacing(6);
    auto* label = new QLabel(ToQString(texts::Text(TextId::ClassLinesShown)));
    choice->addWidget(label);
    for (int line = 1; line <= 10; ++line) {
        auto* box = lines_[line - 1] = new QCheckBox(QString::number(line));
        box->setAccessibleName(LineName(line));
        box->setStyleSheet(QStringLiteral("QCheckBox { color: %1; }").arg(LineQColor(line).name()));
        connect(box, &QCheckBox::toggled, this, &ClassTrendCharts::Redraw);
        choice->addWidget(box);
    }
    choice->addStretch(1);
    trend_ = new QChartView(StyledChart(ToQString(texts::Text(TextId::ClassTrendTitle))));
    trend_->setObjectName(QStringLiteral("ClassTrendChart"));
    trend_->setAccessibleName(ToQString(texts::Text(TextId::ClassTrendTitle)));
    trend_->setMinimumHeight(320);
    trend_->setRenderHint(QPainter::Antialiasing);
    spread_ = new QChartView(StyledChart({}));
    spread_->setObjectName(QStringLiteral("ClassSpreadChart"));
    spread_->setMinimumHeight(320);
    spread_->setRenderHint(QPainter::Antialiasing);
    sentence_ = new QLabel;
    sentence_->setObjectName(QStringLiteral("ClassDistance"));
    sentence_->setWordWrap(true);
    sentence_->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    auto* charts = new QHBoxLayout;
    charts->addWidget(trend_, 1);
    charts->addWidget(spread_, 1);
    layout->addLayout(charts);
    layout->addWidget(sentence_);
}

void ClassTrendCharts::Show(const ClassSheet& sheet, int group) {
    sheet_ = &sheet;
    group_ = group;
    ChooseLines(group >= 0 ? sheet.FirstLines(static_cast<std::size_t>(group))
                           : std::vector<int>{kStartColumn - 1});
}

std::vector<int> ClassTrendCharts::ChosenLines() const {
    std::vector<int> chosen;
    for (int line = 1; line <= 10; ++line) {
        if (lines_[line - 1]->isChecked()) {
            chosen.push_back(line);
        }
    }
    return chosen;
}

void ClassTrendCharts::ChooseLines(const std::vector<int>& lines) {
    for (int line = 1; line <= 10; ++line) {
        const QSignalBlocker quiet(lines_[line - 1]);
        lines_[line - 1]->setChecked(std::find(lines.begin(), lines.end(), line) != lines.end());
    }
    Redraw();
}

QString ClassTrendCharts::Sentence() const {
    return sentence_->text();
}

void ClassTrendCharts::Redraw() {
    const bool any = sheet_ && group_ >= 0 && group_ < static_cast<int>(sheet_->Groups().size());
    if (!any) {
        group_ = -1;
    }
    DrawTrend();
    DrawSpread();
    sentence_->setText(
        any ? ToQString(sheet_->DistanceSentence(static_cast<std::size_t>(group_),
                                                 ClassSheet::SpreadLine(ChosenLines())) +
                        '\n' + ClassSheet::BandNote())
            : QString());
}

void ClassTrendCharts::DrawTrend() {
    QChart* chart = trend_->chart();
    EmptyChart(chart);
    const auto g = static_cast<std::size_t>(group_);
    double highest = 0;
    std::vector<ClassSheet::Points> curves;
    for (int line : ChosenLines()) {
        curves.push_back(group_ >= 0 ? sheet_->TrendOf(g, line) : ClassSheet::Points{});
        for (double y : curves.back().y) {
            highest = std::max(highest, y);
        }
    }
    const ClassSheet::Axis axis = ClassSheet::TrendAxis(curves);
    const double right = axis.high;
    std::size_t next = 0;
    for (int line : ChosenLines()) {
        const ClassSheet::Points& curve = curves[next++];
        chart->addSeries(Curve(LineName(line), curve.x, curve.y, QPen(LineQColor(line), 2)));
        if (group_ >= 0) {
            const double exact =
                100 * sheet_->Groups()[g].exact[static_cast<std::size_t>(line - 1)];
            highest = std::max(highest, exact);
            chart->addSeries(Level(ToQString(texts::Format(TextId::ClassLineExact,
                                                           {odds_sheet::ArrivalLine(line + 1)})),
                                   exact, axis.low, right,
                                   QPen(LineQColor(line), 1.5, Qt::DashLine)));
        }
    }
    auto* trials = new QLogValueAxis;
    trials->setBase(10);
    trials->setRange(axis.low, right);
    trials->setLabelFormat("%.0f");
    StyleAxis(trials, ToQString(texts::Text(TextId::ClassTrendAxis)));
    AttachAxes(chart, trials, PercentAxis(highest));
}

void ClassTrendCharts::DrawSpread() {
    QChart* chart = spread_->chart();
    EmptyChart(chart);
    const int line = ClassSheet::SpreadLine(ChosenLines());
    chart->setTitle(
        ToQString(texts::Format(TextId::ClassSpreadTitle, {odds_sheet::ArrivalLine(line + 1)})));
    spread_->setAccessibleName(chart->title());
    double highest = 0;
    double right = 20;
    if (group_ >= 0) {
        const auto g = static_cast<std::size_t>(group_);
        const ClassSheet::Band edges = sheet_->BandOf(g, line);
        auto* band = new QAreaSeries;
        band->setUpperSeries(Curve({}, edges.trials, edges.high, QPen()));
        band->setLowerSeries(Curve({}, edges.trials, edges.low, QPen()));
        band->upperSeries()->setParent(band);
        band->lowerSeries()->setParent(band);
        band->setName(ToQString(texts::Text(TextId::ClassBand)));
        band->setColor(QColor(225, 225, 225));
        band->setBorderColor(QColor(225, 225, 225));
        for (std::size_t i = 0; i < edges.trials.size(); ++i) {
            right = std::max(right, edges.trials[i]);
            // The first few trials allow any share; the axis is sized for the rest.
            if (edges.trials[i] >= kFewestScaled) {
                highest = std::max(highest, edges.high[i]);
            }
        }
        chart->addSeries(band);
        // Experiments stopped early have a band of their own, drawn as its two dotted edges
        // where the class holds any.
        if (sheet_->AnyStopped(g)) {
            const ClassSheet::Band stopped = sheet_->StoppedBandOf(g, line);
            const QPen dotted(QColor(110, 110, 110), 1.5, Qt::DotLine);
            chart->addSeries(Curve(ToQString(texts::Text(TextId::ClassBandStopped)), stopped.trials,
                                   stopped.high, dotted));
            QLineSeries* low = Curve({}, stopped.trials, stopped.low, dotted);
            chart->addSeries(low);
            chart->legend()->markers(low).front()->setVisible(false);
            for (std::size_t i = 0; i < stopped.trials.size(); ++i) {
                if (stopped.trials[i] >= kFewestScaled) {
                    highest = std::max(highest, stopped.high[i]);
                }
            }
        }
        const ClassSheet::Points spread = sheet_->SpreadOf(g, line);
        auto* each = new QScatterSeries;
        each->setName(ToQString(texts::Text(TextId::ClassEachExperiment)));
        each->setColor(LineQColor(line));
        each->setBorderColor(LineQColor(line));
        each->setMarkerSize(7);
        for (std::size_t i = 0; i < spread.x.size(); ++i) {
            each->append(spread.x[i], spread.y[i]);
            highest = std::max(highest, spread.y[i]);
            right = std::max(right, spread.x[i]);
        }
        chart->addSeries(each);
        right = std::ceil(right / 20) * 20;
        const ClassSheet::Points trend = sheet_->TrendOf(g, line);
        if (!trend.y.empty()) {
            chart->addSeries(Level(ToQString(texts::Text(TextId::ClassWhole)), trend.y.back(), 0,
                                   right, QPen(LineQColor(line), 2.5)));
        }
        chart->addSeries(Level(ToQString(texts::Text(TextId::ExactSeries)),
                               100 * sheet_->Groups()[g].exact[static_cast<std::size_t>(line - 1)],
                               0, right, QPen(Qt::black, 1.5, Qt::DashLine)));
    }
    auto* trials = new QValueAxis;
    trials->setRange(0, right);
    trials->setLabelFormat("%.0f");
    StyleAxis(trials, ToQString(texts::Text(TextId::ClassSpreadAxis)));
    AttachAxes(chart, trials, PercentAxis(highest));
}

}  // namespace hashigoro
