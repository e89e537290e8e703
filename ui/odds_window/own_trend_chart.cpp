#include "own_trend_chart.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

#include "catalogue.h"
#include "class_pool.h"
#include "class_trend.h"
#include "experiment_state.h"
#include "gothic_font.h"
#include "odds_sheet_text.h"
#include "qt_layout.h"

namespace hashigoro {

namespace {

QValueAxis* Axis(double high, const QString& title) {
    auto* axis = new QValueAxis;
    axis->setRange(0, high);
    axis->setLabelFormat("%.0f");
    axis->setTitleText(title);
    axis->setTitleFont(GothicFont(9.75, false));
    axis->setLabelsFont(GothicFont(9, false));
    return axis;
}

}  // namespace

OwnTrendChart::OwnTrendChart(QWidget* parent) : QWidget(parent) {
    experiments_ = new QComboBox;
    experiments_->setAccessibleName(ToQString(texts::Text(TextId::OwnExperimentLabel)));
    line_ = new QComboBox;
    line_->setAccessibleName(ToQString(texts::Text(TextId::ClassLineHeader)));
    for (int line = 1; line <= 10; ++line) {
        line_->addItem(ToQString(odds_sheet::ArrivalLine(line + 1)));
    }
    line_->setCurrentIndex(kStartColumn - 2);
    auto* chart = new QChart;
    chart->setTitle(ToQString(texts::Text(TextId::OwnTrendTitle)));
    chart->setTitleFont(GothicFont(11.25, true));
    chart->legend()->setFont(GothicFont(9, false));
    chart->setMargins(QMargins(4, 4, 4, 4));
    view_ = new QChartView(chart);
    view_->setObjectName(QStringLiteral("OwnTrendChart"));
    view_->setAccessibleName(chart->title());
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumHeight(280);

    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(ToQString(texts::Text(TextId::OwnExperimentLabel))));
    choice->addWidget(experiments_, 1);
    choice->addWidget(new QLabel(ToQString(texts::Text(TextId::ClassLineHeader))));
    choice->addWidget(line_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(view_);
    connect(experiments_, &QComboBox::currentIndexChanged, this, &OwnTrendChart::Draw);
    connect(line_, &QComboBox::currentIndexChanged, this, &OwnTrendChart::Draw);
    Draw();
}

void OwnTrendChart::Load(const std::string& kept) {
    kept_.clear();
    for (const ReadExperiment& read : ReadResultLines(kept).experiments) {
        if (!read.result.order.empty()) {
            kept_.insert(kept_.begin(), read.result);
        }
    }
    const QSignalBlocker quiet(experiments_);
    experiments_->clear();
    for (const ExperimentResult& result : kept_) {
        experiments_->addItem(ToQString(ResultLine(result)));
    }
    experiments_->setPlaceholderText(ToQString(texts::Text(TextId::ClassNoOwn)));
    experiments_->setCurrentIndex(kept_.empty() ? -1 : 0);
    Draw();
}

void OwnTrendChart::Draw() {
    QChart* chart = view_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    const int chosen = experiments_->currentIndex();
    const int line = line_->currentIndex() + 1;
    double right = 20;
    if (chosen >= 0 && chosen < static_cast<int>(kept_.size())) {
        const ExperimentResult& experiment = kept_[static_cast<std::size_t>(chosen)];
        const std::vector<double> shares = ArrivalTrend(experiment.order, line);
        const LineColour colour = ColourOfLine(line);
        const QColor pen(colour.red, colour.green, colour.blue);
        auto* curve = new QLineSeries;
        curve->setName(ToQString(odds_sheet::ArrivalLine(line + 1)));
        curve->setPen(QPen(pen, 2));
        QList<QPointF> points;
        for (std::size_t n = 1; n <= shares.size(); ++n) {
            points.append(QPointF(static_cast<double>(n), shares[n - 1]));
        }
        curve->replace(points);
        right = std::max(right, std::ceil(static_cast<double>(shares.size()) / 20) * 20);
        auto* level = new QLineSeries;
        level->setName(
            ToQString(texts::Format(TextId::ClassLineExact, {odds_sheet::ArrivalLine(line + 1)})));
        level->setPen(QPen(pen, 1.5, Qt::DashLine));
        const double exact =
            100 * ExperimentOdds(experiment.rungs)[static_cast<std::size_t>(line - 1)];
        level->append(0, exact);
        level->append(right, exact);
        chart->addSeries(curve);
        chart->addSeries(level);
    }
    auto* trials = Axis(right, ToQString(texts::Text(TextId::OwnTrendAxis)));
    auto* percent = Axis(100, ToQString(texts::Text(TextId::ClassShareHeader)));
    chart->addAxis(trials, Qt::AlignBottom);
    chart->addAxis(percent, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(trials);
        series->attachAxis(percent);
    }
}

}  // namespace hashigoro
