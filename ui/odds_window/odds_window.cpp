#include "odds_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

#include "fixed_window_frame.h"
#include "gothic_font.h"
#include "odds_csv.h"
#include "rung_count_prompt.h"

namespace hashigoro {

namespace {

const QColor kRed(255, 0, 0);
const QColor kLightRed(255, 170, 170);
// Below this a simulation's difference from the exact odds is too large for chance.
constexpr double kSignificance = 0.05;

QValueAxis* Axis(double low, double high, const QString& title, const QString& format) {
    auto* axis = new QValueAxis;
    axis->setRange(low, high);
    axis->setTitleText(title);
    axis->setLabelFormat(format);
    axis->setTitleFont(GothicFont(9.75, false));
    axis->setLabelsFont(GothicFont(9, false));
    return axis;
}

QChart* MakeChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(GothicFont(11.25, true));
    chart->legend()->setFont(GothicFont(9, false));
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

}  // namespace

OddsWindow::OddsWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OddsWindow"));
    SetUpFixedWindow(*this, QStringLiteral(" はしごろう＿理論値"), QRect(20, 20, 980, 560));
    setFont(GothicFont(10.5, false));

    auto* exact = new QGroupBox(QStringLiteral("理論値（正確な確率）"));
    rungSlider_ = new QSlider(Qt::Horizontal);
    rungSlider_->setRange(0, kRungSlots);
    rungBox_ = new QSpinBox;
    rungBox_->setRange(0, kRungSlots);
    rungBox_->setSuffix(QStringLiteral(" 本"));
    startBox_ = new QComboBox;
    for (int column = 2; column <= 11; ++column) {
        startBox_->addItem(QStringLiteral("左から %1 本目").arg(column - 1), column);
    }
    distanceLabel_ = new QLabel;
    distanceLabel_->setWordWrap(true);
    auto* exactForm = new QFormLayout(exact);
    exactForm->addRow(QStringLiteral("横線の本数"), rungBox_);
    exactForm->addRow(rungSlider_);
    exactForm->addRow(new QLabel(QStringLiteral("（実験で使えるのは 10〜50 本）")));
    exactForm->addRow(QStringLiteral("スタートの線"), startBox_);
    exactForm->addRow(distanceLabel_);

    auto* simulation = new QGroupBox(QStringLiteral("シミュレーション（実験と同じしくみ）"));
    trialsBox_ = new QSpinBox;
    trialsBox_->setRange(100, 1'000'000);
    trialsBox_->setSingleStep(1000);
    trialsBox_->setValue(1000);
    trialsBox_->setSuffix(QStringLiteral(" 回"));
    trialsBox_->setGroupSeparatorShown(true);
    simulatedRungsBox_ = new QSpinBox;
    simulatedRungsBox_->setRange(kMinRungs, kMaxRungs);
    simulatedRungsBox_->setValue(kMaxRungs);
    simulatedRungsBox_->setSuffix(QStringLiteral(" 本"));
    runButton_ = new QPushButton(QStringLiteral("実行"));
    cancelButton_ = new QPushButton(QStringLiteral("中止"));
    cancelButton_->setEnabled(false);
    progress_ = new QProgressBar;
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    verdict_ = new QLabel;
    verdict_->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(runButton_);
    buttons->addWidget(cancelButton_);
    auto* simulationForm = new QFormLayout(simulation);
    simulationForm->addRow(QStringLiteral("試行回数"), trialsBox_);
    simulationForm->addRow(QStringLiteral("横線の本数"), simulatedRungsBox_);
    simulationForm->addRow(buttons);
    simulationForm->addRow(progress_);
    simulationForm->addRow(verdict_);

    auto* saveCsv = new QPushButton(QStringLiteral("表を CSV で保存…"));
    auto* savePng = new QPushButton(QStringLiteral("グラフを PNG で保存…"));

    auto* side = new QVBoxLayout;
    side->addWidget(exact);
    side->addWidget(simulation);
    side->addStretch();
    side->addWidget(saveCsv);
    side->addWidget(savePng);
    BuildCharts();
    auto* charts = new QVBoxLayout;
    charts->addWidget(barView_, 3);
    charts->addWidget(distanceView_, 2);
    auto* layout = new QHBoxLayout(this);
    auto* sideWidget = new QWidget;
    sideWidget->setLayout(side);
    sideWidget->setFixedWidth(310);
    layout->addWidget(sideWidget);
    layout->addLayout(charts, 1);

    connect(rungSlider_, &QSlider::valueChanged, this, &OddsWindow::SetRungs);
    connect(rungBox_, &QSpinBox::valueChanged, this, &OddsWindow::SetRungs);
    connect(startBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { SetStart(startBox_->itemData(index).toInt()); });
    connect(runButton_, &QPushButton::clicked, this, [this] {
        Simulate(simulatedRungsBox_->value(), static_cast<std::uint64_t>(trialsBox_->value()));
    });
    connect(cancelButton_, &QPushButton::clicked, &runner_, &SimulationRunner::Cancel);
    connect(&runner_, &SimulationRunner::Progress, this,
            [this](std::uint64_t done, std::uint64_t trials) {
                progress_->setValue(static_cast<int>(1000 * done / trials));
            });
    connect(&runner_, &SimulationRunner::Finished, this, &OddsWindow::ShowSimulation);
    connect(saveCsv, &QPushButton::clicked, this, &OddsWindow::AskAndSaveCsv);
    connect(savePng, &QPushButton::clicked, this, &OddsWindow::AskAndSavePng);

    SetStart(kStartColumn);
    SetRungs(kMaxRungs);
}

void OddsWindow::BuildCharts() {
    QChart* bars = MakeChart(QStringLiteral("どの線に着くか（%）"));
    exactBars_ = new QBarSet(QStringLiteral("理論値"));
    exactBars_->setColor(kRed);
    exactBars_->setBorderColor(kRed);
    observedBars_ = new QBarSet(QStringLiteral("シミュレーション"));
    observedBars_->setColor(kLightRed);
    observedBars_->setBorderColor(kLightRed);
    for (int c = 0; c < 10; ++c) {
        *exactBars_ << 0;
        *observedBars_ << 0;
    }
    auto* barSeries = new QBarSeries;
    barSeries->append(exactBars_);
    barSeries->append(observedBars_);
    bars->addSeries(barSeries);
    auto* fair = new QLineSeries;
    fair->setName(QStringLiteral("公平なら 10 %"));
    fair->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    fair->append(-0.5, 10);
    fair->append(9.5, 10);
    bars->addSeries(fair);
    auto* lines = new QBarCategoryAxis;
    for (int column = 2; column <= 11; ++column) {
        lines->append(QStringLiteral("%1本目").arg(column - 1));
    }
    lines->setLabelsFont(GothicFont(9, false));
    bars->addAxis(lines, Qt::AlignBottom);
    auto* hiddenX = Axis(-0.5, 9.5, {}, "%.1f");
    hiddenX->setVisible(false);
    bars->addAxis(hiddenX, Qt::AlignBottom);
    auto* percent = Axis(0, 40, QStringLiteral("%"), "%.0f");
    bars->addAxis(percent, Qt::AlignLeft);
    barSeries->attachAxis(lines);
    barSeries->attachAxis(percent);
    fair->attachAxis(hiddenX);
    fair->attachAxis(percent);
    barView_ = new QChartView(bars);
    barView_->setObjectName(QStringLiteral("BarChart"));

    QChart* distance = MakeChart(QStringLiteral("公平からのずれ（全変動距離、%）"));
    // An area series does not own its two edges: they are given to it as children.
    auto* band = new QAreaSeries;
    band->setUpperSeries(new QLineSeries(band));
    band->setLowerSeries(new QLineSeries(band));
    band->setName(QStringLiteral("実験の範囲"));
    for (int n : {kMinRungs, kMaxRungs}) {
        band->upperSeries()->append(n, 90);
        band->lowerSeries()->append(n, 0);
    }
    band->setColor(QColor(230, 230, 230));
    band->setBorderColor(QColor(230, 230, 230));
    auto* curve = curve_ = new QLineSeries;
    curve->setName(QStringLiteral("ずれ"));
    curve->setPen(QPen(kRed, 2));
    chosen_ = new QScatterSeries;
    chosen_->setName(QStringLiteral("選んだ本数"));
    chosen_->setColor(Qt::black);
    chosen_->setMarkerSize(9);
    chosen_->append(0, 0);
    for (QAbstractSeries* series :
         {static_cast<QAbstractSeries*>(band), static_cast<QAbstractSeries*>(curve),
          static_cast<QAbstractSeries*>(chosen_)}) {
        distance->addSeries(series);
    }
    auto* rungsAxis = Axis(0, kRungSlots, QStringLiteral("横線の本数"), "%.0f");
    rungsAxis->setTickType(QValueAxis::TicksDynamic);
    rungsAxis->setTickAnchor(0);
    rungsAxis->setTickInterval(25);
    auto* tvAxis = Axis(0, 90, QStringLiteral("%"), "%.0f");
    tvAxis->setTickCount(7);
    distance->addAxis(rungsAxis, Qt::AlignBottom);
    distance->addAxis(tvAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : distance->series()) {
        series->attachAxis(rungsAxis);
        series->attachAxis(tvAxis);
    }
    distanceView_ = new QChartView(distance);
    distanceView_->setObjectName(QStringLiteral("DistanceChart"));
}

void OddsWindow::SetRungs(int rungs) {
    const QSignalBlocker blockSlider(rungSlider_);
    const QSignalBlocker blockBox(rungBox_);
    rungSlider_->setValue(rungs);
    rungBox_->setValue(rungs);
    ShowOdds();
}

void OddsWindow::SetStart(int column) {
    {
        const QSignalBlocker block(startBox_);
        startBox_->setCurrentIndex(column - kFirstColumn);
    }
    table_ = ExactArrivalOdds(column);
    // The curve over every rung count, and its lowest point, change only with the start line.
    QList<QPointF> points;
    double least = 1;
    for (int k = 0; k <= kRungSlots; ++k) {
        const double distance = DistanceFromFair(table_[k]).totalVariation;
        points.append(QPointF(k, 100 * distance));
        if (distance < least) {
            least = distance;
            fairest_ = k;
        }
    }
    curve_->replace(points);
    ShowOdds();
}

int OddsWindow::Rungs() const {
    return rungBox_->value();
}

int OddsWindow::Start() const {
    return startBox_->currentData().toInt();
}

std::array<double, 10> OddsWindow::ShownPercentages() const {
    std::array<double, 10> shown{};
    for (int c = 0; c < 10; ++c) {
        shown[c] = exactBars_->at(c);
    }
    return shown;
}

QWidget* OddsWindow::BarChart() const {
    return barView_;
}

QWidget* OddsWindow::DistanceChart() const {
    return distanceView_;
}

QString OddsWindow::Verdict() const {
    return verdict_->text();
}

std::array<double, 10> OddsWindow::ObservedPercentages() const {
    std::array<double, 10> shown{};
    for (int c = 0; c < 10; ++c) {
        shown[c] = observedBars_->at(c);
    }
    return shown;
}

void OddsWindow::ShowOdds() {
    const int n = Rungs();
    const ArrivalOdds& odds = table_[n];
    double highest = 0;
    for (int c = 0; c < 10; ++c) {
        exactBars_->replace(c, 100 * odds[c]);
        highest = std::max(highest, 100 * odds[c]);
    }
    auto* percent = qobject_cast<QValueAxis*>(barView_->chart()->axes(Qt::Vertical).front());
    percent->setMax(std::max(40.0, std::ceil(highest / 10) * 10));

    const Unfairness u = DistanceFromFair(odds);
    chosen_->replace(0, QPointF(n, 100 * u.totalVariation));
    distanceLabel_->setText(
        QStringLiteral("横線 %1 本：公平からのずれ %2 %（いちばんずれた線で %3 %）。\n"
                       "いちばん公平に近いのは %4 本のとき（ずれ %5 %）。")
            .arg(n)
            .arg(100 * u.totalVariation, 0, 'f', 1)
            .arg(100 * u.largestDeviation, 0, 'f', 1)
            .arg(fairest_)
            .arg(100 * DistanceFromFair(table_[fairest_]).totalVariation, 0, 'g', 2));
    ShowObserved();
}

void OddsWindow::ShowObserved() {
    // The simulated arrivals stand beside the exact odds they were run with, and only there.
    std::uint64_t trials = 0;
    for (std::uint64_t count : simulatedCounts_) {
        trials += count;
    }
    const bool same = simulated_.rungs == Rungs() && simulated_.start == Start() && trials > 0;
    for (int c = 0; c < 10; ++c) {
        observedBars_->replace(
            c, same ? 100.0 * static_cast<double>(simulatedCounts_[c]) / trials : 0.0);
    }
}

void OddsWindow::Simulate(int rungs, std::uint64_t trials) {
    if (runner_.IsRunning()) {
        return;
    }
    simulated_ = {};
    SetRungs(rungs);
    // The run is judged against the odds it was run with, whatever is chosen meanwhile.
    simulated_ = {rungs, Start(), table_[static_cast<std::size_t>(rungs)]};
    runButton_->setEnabled(false);
    cancelButton_->setEnabled(true);
    progress_->setValue(0);
    verdict_->setText(QStringLiteral("シミュレーション中…"));
    runner_.Start(rungs, Start(), trials);
}

void OddsWindow::ShowSimulation(const ArrivalCounts& counts, bool cancelled) {
    runButton_->setEnabled(true);
    cancelButton_->setEnabled(false);
    std::uint64_t trials = 0;
    for (std::uint64_t count : counts) {
        trials += count;
    }
    if (trials == 0) {
        verdict_->setText(QStringLiteral("中止しました。"));
        return;
    }
    simulatedCounts_ = counts;
    ShowObserved();
    const ChiSquareResult test = ChiSquareTest(counts, simulated_.odds);
    const QString verdict = test.pValue >= kSignificance
                                ? QStringLiteral("理論値との差は偶然のばらつきの範囲です。")
                                : QStringLiteral("理論値との差は偶然にしては大きすぎます。");
    verdict_->setText(QStringLiteral("%1%2 回（横線 %3 本）：カイ二乗 %4（自由度 %5）、"
                                     "p = %6。\n%7")
                          .arg(cancelled ? QStringLiteral("中止までの ") : QString())
                          .arg(QLocale(QLocale::Japanese).toString(qulonglong(trials)))
                          .arg(simulated_.rungs)
                          .arg(test.statistic, 0, 'f', 2)
                          .arg(test.degreesOfFreedom)
                          .arg(test.pValue, 0, 'g', 3)
                          .arg(verdict));
}

void OddsWindow::AskAndSaveCsv() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("表を CSV で保存"),
        QStringLiteral("hashigoro-odds-start%1.csv").arg(Start()), QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) {
        SaveCsv(path);
    }
}

bool OddsWindow::SaveCsv(const QString& path) {
    QSaveFile file(path);
    const QByteArray csv = QByteArray::fromStdString(OddsCsv(table_));
    if (file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit()) {
        return true;
    }
    ReportSaveFailure(path, file.errorString());
    return false;
}

void OddsWindow::ReportSaveFailure(const QString& path, const QString& reason) {
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("はしごろう＿理論値"),
        QStringLiteral("%1 に保存できませんでした。").arg(QDir::toNativeSeparators(path)),
        QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("SaveFailure"));
    box.setInformativeText(reason);
    box.exec();
}

void OddsWindow::AskAndSavePng() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("グラフを PNG で保存"),
        QStringLiteral("hashigoro-odds-%1.png").arg(Rungs()), QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty()) {
        SavePng(path);
    }
}

bool OddsWindow::SavePng(const QString& path) {
    const QPixmap top = barView_->grab();
    const QPixmap bottom = distanceView_->grab();
    QImage image(std::max(top.width(), bottom.width()), top.height() + bottom.height(),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, top);
    painter.drawPixmap(0, top.height(), bottom);
    painter.end();
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) {
        return true;
    }
    ReportSaveFailure(path, file.errorString());
    return false;
}

}  // namespace hashigoro
