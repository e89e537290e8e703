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
#include "chart_style.h"
#include "class_pool.h"
#include "class_trend.h"
#include "experiment_state.h"
#include "odds_sheet_text.h"
#include "qt_layout.h"

namespace hashigoro {

OwnTrendChart::OwnTrendChart(QWidget* parent) : QWidget(parent) {
    experiments_ = new QComboBox;
    experiments_->setAccessibleName(ToQString(texts::Text(TextId::OwnExperimentLabel)));
    line_ = new QComboBox;
    line_->setAccessibleName(ToQString(texts::Text(TextId::ClassLineHeader)));
    for (int line = 1; line <= 10; ++line) {
        line_->addItem(ToQString(odds_sheet::ArrivalLine(line + 1)));
    }
    line_->setCurrentIndex(kStartColumn - 2);
    QChart* chart = StyledChart(ToQString(texts::Text(TextId::OwnTrendTitle)));
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
    EmptyChart(chart);
    const int chosen = experiments_->currentIndex();
    const int line = line_->currentIndex() + 1;
    double right = 20;
    if (chosen >= 0 && chosen < static_cast<int>(kept_.size())) {
        const ExperimentResult& experiment = kept_[static_cast<std::size_t>(chosen)];
        const std::vector<double> shares = ArrivalTrend(experiment.order, line);
        std::vector<double> trials;
        for (std::size_t n = 1; n <= shares.size(); ++n) {
            trials.push_back(static_cast<double>(n));
        }
        right = std::max(right, std::ceil(static_cast<double>(shares.size()) / 20) * 20);
        chart->addSeries(Curve(ToQString(odds_sheet::ArrivalLine(line + 1)), trials, shares,
                               QPen(LineQColor(line), 2)));
        chart->addSeries(Level(
            ToQString(texts::Format(TextId::ClassLineExact, {odds_sheet::ArrivalLine(line + 1)})),
            100 * ExperimentOdds(experiment.rungs)[static_cast<std::size_t>(line - 1)], 0, right,
            QPen(LineQColor(line), 1.5, Qt::DashLine)));
    }
    auto* trials = new QValueAxis;
    trials->setRange(0, right);
    trials->setLabelFormat("%.0f");
    StyleAxis(trials, ToQString(texts::Text(TextId::OwnTrendAxis)));
    auto* percent = new QValueAxis;
    percent->setRange(0, 100);
    percent->setLabelFormat("%.0f");
    StyleAxis(percent, ToQString(texts::Text(TextId::ClassShareHeader)));
    AttachAxes(chart, trials, percent);
}

}  // namespace hashigoro
