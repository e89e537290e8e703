#include "class_trend_charts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

#include "catalogue.h"
#include "class_sheet.h"
#include "experiment_state.h"
#include "gothic_font.h"
#include "odds_sheet_text.h"
#include "qt_layout.h"

namespace hashigoro {

namespace {

constexpr int kFewestScaled = 10;

QColor ColourOf(int line) {
    const LineColour colour = ColourOfLine(line);
    return QColor(colour.red, colour.green, colour.blue);
}

QString LineName(int line) {
    return ToQString(odds_sheet::ArrivalLine(line + 1));
}

QChart* EmptyChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(GothicFont(11.25, true));
    chart->legend()->setFont(GothicFont(9, false));
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

void Dress(QAbstractAxis* axis, const QString& title) {
    axis->setTitleText(title);
    axis->setTitleFont(GothicFont(9.75, false));
    axis->setLabelsFont(GothicFont(9, false));
}

// A level across the chart from x `from` to `to`.
QLineSeries* Level(double y, double from, double to, const QString& name, const QPen& pen) {
    auto* level = new QLineSeries;
    level->setName(name);
    level->setPen(pen);
    level->append(from, y);
    level->append(to, y);
    return level;
}

// The percent axis: from 0 to the next ten above everything drawn, 40 at the least.
QValueAxis* PercentAxis(double highest) {
    auto* axis = new QValueAxis;
    axis->setRange(0, std::max(40.0, std::ceil(highest / 10) * 10));
    axis->setLabelFormat("%.0f");
    Dress(axis, ToQString(texts::Text(TextId::ClassShareHeader)));
    return axis;
}

void Attach(QChart* chart, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
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
        box->setStyleSheet(QStringLiteral("QCheckBox { color: %1; }").arg(ColourOf(line).name()));
        connect(box, &QCheckBox::toggled, this, &ClassTrendCharts::Redraw);
        choice->addWidget(box);
    }
    choice->addStretch(1);
    trend_ = new QChartView(EmptyChart(ToQString(texts::Text(TextId::ClassTrendTitle))));
    trend_->setObjectName(QStringLiteral("ClassTrendChart"));
    trend_->setAccessibleName(ToQString(texts::Text(TextId::ClassTrendTitle)));
    trend_->setMinimumHeight(320);
    trend_->setRenderHint(QPainter::Antialiasing);
    spread_ = new QChartView(EmptyChart({}));
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
    sentence_->setText(any ? ToQString(sheet_->DistanceSentence(static_cast<std::size_t>(group_)) +
                                       '\n' + ClassSheet::BandNote())
                           : QString());
}

void ClassTrendCharts::DrawTrend() {
    QChart* chart = trend_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    std::vector<TrendRow> rows;
    if (group_ >= 0) {
        rows = sheet_->Trend(static_cast<std::size_t>(group_));
    }
    // From the first trial to the next power of ten above the class's.
    const double most =
        rows.empty() ? 1.0 : static_cast<double>(std::max<std::uint64_t>(1, rows.back().trials));
    const double right = std::pow(10.0, std::ceil(std::log10(most * 1.0001)));
    double highest = 0;
    for (int line : ChosenLines()) {
        auto* shares = new QLineSeries;
        shares->setName(LineName(line));
        shares->setPen(QPen(ColourOf(line), 2));
        QList<QPointF> points;
        for (const TrendRow& row : rows) {
            if (row.trials > 0) {
                points.append(QPointF(static_cast<double>(row.trials), row.Percent(line)));
                highest = std::max(highest, row.Percent(line));
            }
        }
        shares->replace(points);
        chart->addSeries(shares);
        if (group_ >= 0) {
            const double exact = 100 * sheet_->Groups()[static_cast<std::size_t>(group_)]
                                           .exact[static_cast<std::size_t>(line - 1)];
            chart->addSeries(Level(exact, 1, right,
                                   ToQString(texts::Format(TextId::ClassLineExact,
                                                           {odds_sheet::ArrivalLine(line + 1)})),
                                   QPen(ColourOf(line), 1.5, Qt::DashLine)));
        }
    }
    auto* trials = new QLogValueAxis;
    trials->setBase(10);
    trials->setRange(1, right);
    trials->setLabelFormat("%.0f");
    Dress(trials, ToQString(texts::Text(TextId::ClassTrendAxis)));
    Attach(chart, trials, PercentAxis(highest));
}

void ClassTrendCharts::DrawSpread() {
    QChart* chart = spread_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    const std::vector<int> chosen = ChosenLines();
    const int line = chosen.empty() ? kStartColumn - 1 : chosen.front();
    chart->setTitle(
        ToQString(texts::Format(TextId::ClassSpreadTitle, {odds_sheet::ArrivalLine(line + 1)})));
    spread_->setAccessibleName(chart->title());
    const auto l = static_cast<std::size_t>(line - 1);
    double highest = 0;
    double right = 0;
    if (group_ >= 0) {
        const auto g = static_cast<std::size_t>(group_);
        auto* band = new QAreaSeries;
        band->setUpperSeries(new QLineSeries(band));
        band->setLowerSeries(new QLineSeries(band));
        band->setName(ToQString(texts::Text(TextId::ClassBand)));
        band->setColor(QColor(225, 225, 225));
        band->setBorderColor(QColor(225, 225, 225));
        for (const ExperimentBands::Range& range : sheet_->Bands(g).Band(line)) {
            band->upperSeries()->append(range.trials, 100 * range.high);
            band->lowerSeries()->append(range.trials, 100 * range.low);
            // The first few trials allow any share; the axis is sized for the rest.
            if (range.trials >= kFewestScaled) {
                highest = std::max(highest, 100 * range.high);
            }
            right = std::max(right, static_cast<double>(range.trials));
        }
        chart->addSeries(band);
        auto* each = new QScatterSeries;
        each->setName(ToQString(texts::Text(TextId::ClassEachExperiment)));
        each->setColor(ColourOf(line));
        each->setBorderColor(ColourOf(line));
        each->setMarkerSize(7);
        for (const ExperimentResult& experiment : sheet_->Members(g)) {
            std::uint64_t trials = 0;
            for (std::uint64_t count : experiment.counts) {
                trials += count;
            }
            if (trials > 0) {
                const double share =
                    100.0 * static_cast<double>(experiment.counts[l]) / static_cast<double>(trials);
                each->append(static_cast<double>(trials), share);
                highest = std::max(highest, share);
                right = std::max(right, static_cast<double>(trials));
            }
        }
        chart->addSeries(each);
        right = std::ceil(std::max(right, 20.0) / 20) * 20;
        const std::vector<TrendRow> trend = sheet_->Trend(g);
        if (!trend.empty()) {
            chart->addSeries(Level(trend.back().Percent(line), 0, right,
                                   ToQString(texts::Text(TextId::ClassWhole)),
                                   QPen(ColourOf(line), 2.5)));
        }
        chart->addSeries(Level(100 * sheet_->Groups()[g].exact[l], 0, right,
                               ToQString(texts::Text(TextId::ExactSeries)),
                               QPen(Qt::black, 1.5, Qt::DashLine)));
    }
    auto* trials = new QValueAxis;
    trials->setRange(0, std::max(right, 20.0));
    trials->setLabelFormat("%.0f");
    Dress(trials, ToQString(texts::Text(TextId::ClassSpreadAxis)));
    Attach(chart, trials, PercentAxis(highest));
}

}  // namespace hashigoro
