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
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

#include "catalogue.h"
#include "chart_style.h"
#include "class_window.h"
#include "fair_bars_chart.h"
#include "fixed_window_frame.h"
#include "gothic_font.h"
#include "odds_csv.h"
#include "odds_sheet_text.h"
#include "qt_layout.h"
#include "rung_count_prompt.h"

namespace hashigoro {

namespace {

const QColor kRed(255, 0, 0);
// The power curve's axis: from one trial to 10,000.
constexpr double kFewestTrials = 1;
constexpr double kMostTrials = kPowerCurveMostTrials;

QValueAxis* Axis(double low, double high, const QString& title, const QString& format) {
    auto* axis = new QValueAxis;
    axis->setRange(low, high);
    axis->setLabelFormat(format);
    StyleAxis(axis, title);
    return axis;
}

}  // namespace

OddsWindow::OddsWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OddsWindow"));
    SetUpFixedWindow(*this, ToQString(texts::Text(TextId::SheetCaption)), QRect(20, 20, 980, 560));
    setFont(GothicFont(10.5, false));

    auto* exact = new QGroupBox(ToQString(texts::Text(TextId::ExactGroup)));
    rungSlider_ = new QSlider(Qt::Horizontal);
    rungSlider_->setRange(0, kRungSlots);
    rungBox_ = new QSpinBox;
    rungBox_->setRange(0, kRungSlots);
    rungBox_->setSuffix(ToQString(texts::Text(TextId::RungsSuffix)));
    startBox_ = new QComboBox;
    for (int column = 2; column <= 11; ++column) {
        startBox_->addItem(ToQString(odds_sheet::StartLine(column)), column);
    }
    distanceLabel_ = new QLabel;
    distanceLabel_->setWordWrap(true);
    // Its two sentences take four lines at this width; a form would squeeze them.
    distanceLabel_->setMinimumHeight(4 * QFontMetrics(font()).lineSpacing());

    auto* exactForm = new QFormLayout(exact);
    exactForm->addRow(ToQString(texts::Text(TextId::RungsLabel)), rungBox_);
    exactForm->addRow(rungSlider_);
    exactForm->addRow(new QLabel(ToQString(texts::Text(TextId::ExperimentRange))));
    exactForm->addRow(ToQString(texts::Text(TextId::StartLabel)), startBox_);
    exactForm->addRow(distanceLabel_);

    auto* simulation = new QGroupBox(ToQString(texts::Text(TextId::SimulationGroup)));
    trialsBox_ = new QSpinBox;
    trialsBox_->setRange(100, 1'000'000);
    trialsBox_->setSingleStep(1000);
    trialsBox_->setValue(1000);
    trialsBox_->setSuffix(ToQString(texts::Text(TextId::TrialsSuffix)));
    trialsBox_->setGroupSeparatorShown(true);
    simulatedRungsBox_ = new QSpinBox;
    simulatedRungsBox_->setRange(kMinRungs, kMaxRungs);
    simulatedRungsBox_->setValue(kMaxRungs);
    simulatedRungsBox_->setSuffix(ToQString(texts::Text(TextId::RungsSuffix)));
    runButton_ = new QPushButton(ToQString(texts::Text(TextId::Run)));
    cancelButton_ = new QPushButton(ToQString(texts::Text(TextId::CancelRun)));
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
    simulationForm->addRow(ToQString(texts::Text(TextId::TrialsLabel)), trialsBox_);
    simulationForm->addRow(ToQString(texts::Text(TextId::RungsLabel)), simulatedRungsBox_);
    simulationForm->addRow(buttons);
    simulationForm->addRow(progress_);
    simulationForm->addRow(verdict_);

    auto* saveCsv = new QPushButton(ToQString(texts::Text(TextId::SaveCsv)));
    auto* savePng = new QPushButton(ToQString(texts::Text(TextId::SavePng)));
    auto* openClass = new QPushButton(ToQString(texts::Text(TextId::ClassOpenWindow)));

    auto* outlook = new QGroupBox(ToQString(texts::Text(TextId::OutlookGroup)));
    powerLabel_ = new QLabel;
    powerLabel_->setObjectName(QStringLiteral("PowerSentence"));
    powerLabel_->setWordWrap(true);
    experimentsLabel_ = new QLabel;
    experimentsLabel_->setObjectName(QStringLiteral("ExperimentsSentence"));
    experimentsLabel_->setWordWrap(true);
    // Beside each other under the charts, which they explain.
    auto* outlookRow = new QHBoxLayout(outlook);
    outlookRow->addWidget(powerLabel_, 1);
    outlookRow->addWidget(experimentsLabel_, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(exact);
    side->addWidget(simulation);
    side->addStretch();
    auto* saves = new QHBoxLayout;
    saves->addWidget(saveCsv);
    saves->addWidget(savePng);
    side->addLayout(saves);
    side->addWidget(openClass);
    BuildCharts();
    auto* lower = new QHBoxLayout;
    lower->addWidget(distanceView_, 1);
    lower->addWidget(powerView_, 1);
    auto* charts = new QVBoxLayout;
    charts->addWidget(barView_, 1);
    charts->addLayout(lower, 1);
    charts->addWidget(outlook);
    auto* layout = new QHBoxLayout(this);
    auto* sideWidget = new QWidget;
    sideWidget->setLayout(side);
    sideWidget->setFixedWidth(320);
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
    connect(openClass, &QPushButton::clicked, this, [this] {
        ClassResults()->show();
        ClassResults()->raise();
        ClassResults()->activateWindow();
    });

    SetStart(sheet_.Start());
}

void OddsWindow::BuildCharts() {
    QStringList lines;
    for (int column = 2; column <= 11; ++column) {
        lines.append(ToQString(odds_sheet::ArrivalLine(column)));
    }
    const FairBarsChart bars = MakeFairBarsChart(
        ToQString(texts::Text(TextId::BarChartTitle)), ToQString(texts::Text(TextId::ExactSeries)),
        ToQString(texts::Text(TextId::SimulatedSeries)), lines);
    exactBars_ = bars.first;
    observedBars_ = bars.second;
    barView_ = bars.view;
    barView_->setObjectName(QStringLiteral("BarChart"));

    QChart* distance = StyledChart(ToQString(texts::Text(TextId::DistanceChartTitle)));
    // An area series does not own its two edges: they are given to it as children.
    auto* band = new QAreaSeries;
    band->setUpperSeries(new QLineSeries(band));
    band->setLowerSeries(new QLineSeries(band));
    band->setName(ToQString(texts::Text(TextId::ExperimentBand)));
    for (int n : {kMinRungs, kMaxRungs}) {
        band->upperSeries()->append(n, 90);
        band->lowerSeries()->append(n, 0);
    }
    band->setColor(QColor(230, 230, 230));
    band->setBorderColor(QColor(230, 230, 230));
    auto* curve = curve_ = new QLineSeries;
    curve->setName(ToQString(texts::Text(TextId::DistanceSeries)));
    curve->setPen(QPen(kRed, 2));
    chosen_ = new QScatterSeries;
    chosen_->setName(ToQString(texts::Text(TextId::ChosenSeries)));
    chosen_->setColor(Qt::black);
    chosen_->setMarkerSize(9);
    chosen_->append(0, 0);
    for (QAbstractSeries* series :
         {static_cast<QAbstractSeries*>(band), static_cast<QAbstractSeries*>(curve),
          static_cast<QAbstractSeries*>(chosen_)}) {
        distance->addSeries(series);
    }
    auto* rungsAxis = Axis(0, kRungSlots, ToQString(texts::Text(TextId::RungsLabel)), "%.0f");
    rungsAxis->setTickType(QValueAxis::TicksDynamic);
    rungsAxis->setTickAnchor(0);
    rungsAxis->setTickInterval(50);
    auto* tvAxis = Axis(0, 90, ToQString(texts::Text(TextId::PercentAxis)), "%.0f");
    tvAxis->setTickCount(7);
    distance->addAxis(rungsAxis, Qt::AlignBottom);
    distance->addAxis(tvAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : distance->series()) {
        series->attachAxis(rungsAxis);
        series->attachAxis(tvAxis);
    }
    distanceView_ = new QChartView(distance);
    distanceView_->setObjectName(QStringLiteral("DistanceChart"));

    QChart* power = StyledChart(ToQString(texts::Text(TextId::PowerChartTitle)));
    powerCurve_ = new QLineSeries;
    powerCurve_->setName(ToQString(texts::Text(TextId::PowerSeries)));
    powerCurve_->setPen(QPen(kRed, 2));
    auto* eighty = new QLineSeries;
    eighty->setName(ToQString(texts::Text(TextId::EightyPercent)));
    eighty->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    eighty->append(kFewestTrials, 80);
    eighty->append(kMostTrials, 80);
    power->addSeries(powerCurve_);
    power->addSeries(eighty);
    auto* trialsAxis = new QLogValueAxis;
    trialsAxis->setRange(kFewestTrials, kMostTrials);
    trialsAxis->setBase(10);
    trialsAxis->setLabelFormat("%.0f");
    StyleAxis(trialsAxis, ToQString(texts::Text(TextId::TrialsAxis)));
    auto* powerAxis = Axis(0, 100, ToQString(texts::Text(TextId::PercentAxis)), "%.0f");
    power->addAxis(trialsAxis, Qt::AlignBottom);
    power->addAxis(powerAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : power->series()) {
        series->attachAxis(trialsAxis);
        series->attachAxis(powerAxis);
    }
    powerView_ = new QChartView(power);
    powerView_->setObjectName(QStringLiteral("PowerChart"));
}

void OddsWindow::SetRungs(int rungs) {
    sheet_.SetRungs(rungs);
    ShowOdds();
}

void OddsWindow::SetStart(int column) {
    sheet_.SetStart(column);
    // The curve over every rung count changes only with the start line.
    QList<QPointF> points;
    const std::vector<double>& distance = sheet_.DistancePercents();
    for (std::size_t k = 0; k < distance.size(); ++k) {
        points.append(QPointF(static_cast<double>(k), distance[k]));
    }
    curve_->replace(points);
    ShowOdds();
}

ClassWindow* OddsWindow::ClassResults() {
    if (!classWindow_) {
        classWindow_ = new ClassWindow(this);
    }
    return classWindow_;
}

int OddsWindow::Rungs() const {
    return sheet_.Rungs();
}

int OddsWindow::Start() const {
    return sheet_.Start();
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

QWidget* OddsWindow::PowerChart() const {
    return powerView_;
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
    {
        const QSignalBlocker blockSlider(rungSlider_);
        const QSignalBlocker blockBox(rungBox_);
        const QSignalBlocker blockStart(startBox_);
        rungSlider_->setValue(n);
        rungBox_->setValue(n);
        startBox_->setCurrentIndex(Start() - kFirstColumn);
    }
    double highest = 0;
    const auto exact = sheet_.ExactPercents();
    for (int c = 0; c < 10; ++c) {
        exactBars_->replace(c, exact[static_cast<std::size_t>(c)]);
        highest = std::max(highest, exact[static_cast<std::size_t>(c)]);
    }
    auto* percent = qobject_cast<QValueAxis*>(barView_->chart()->axes(Qt::Vertical).front());
    percent->setMax(std::max(40.0, std::ceil(highest / 10) * 10));

    chosen_->replace(0, QPointF(n, sheet_.DistancePercents()[static_cast<std::size_t>(n)]));
    distanceLabel_->setText(ToQString(sheet_.DistanceSentence()));
    QList<QPointF> points;
    for (const PowerPoint& point : sheet_.PowerCurve()) {
        points.append(QPointF(point.trials, point.percent));
    }
    powerCurve_->replace(points);
    powerLabel_->setText(ToQString(sheet_.PowerSentence()));
    RunWholeExperiments();
    ShowObserved();
}

void OddsWindow::RunWholeExperiments() {
    if (auto run = sheet_.ExperimentsToRun()) {
        nextExperiments_ = std::move(run);
    }
    experimentsLabel_->setText(ToQString(sheet_.ExperimentsSentence()));
    if (!nextExperiments_) {
        return;
    }
    // One run at a time: a run for other counts ends first, then the next one starts.
    if (experiments_.IsRunning()) {
        experiments_.Cancel();
        return;
    }
    auto run = std::move(nextExperiments_);
    experiments_.Start([run] { return run->Step(50); },
                       [this, run](bool cancelled) {
                           if (!cancelled) {
                               sheet_.ExperimentsDone(*run);
                           }
                           RunWholeExperiments();  // for what is chosen now
                       });
}

QString OddsWindow::PowerSentence() const {
    return powerLabel_->text();
}

QString OddsWindow::ExperimentsSentence() const {
    return experimentsLabel_->text();
}

bool OddsWindow::ExperimentsRunning() const {
    return experiments_.IsRunning();
}

void OddsWindow::ShowObserved() {
    const auto simulated = sheet_.SimulatedPercents();
    for (int c = 0; c < 10; ++c) {
        observedBars_->replace(c, simulated[static_cast<std::size_t>(c)]);
    }
}

void OddsWindow::Simulate(int rungs, std::uint64_t trials) {
    if (runner_.IsRunning()) {
        return;
    }
    sheet_.SimulationStarted(rungs);
    ShowOdds();
    runButton_->setEnabled(false);
    cancelButton_->setEnabled(true);
    progress_->setValue(0);
    verdict_->setText(ToQString(sheet_.Verdict()));
    runner_.Start(rungs, Start(), trials);
}

void OddsWindow::ShowSimulation(const ArrivalCounts& counts, bool cancelled) {
    runButton_->setEnabled(true);
    cancelButton_->setEnabled(false);
    sheet_.SimulationFinished(counts, cancelled);
    verdict_->setText(ToQString(sheet_.Verdict()));
    ShowObserved();
}

void OddsWindow::AskAndSaveCsv() {
    const QString path = QFileDialog::getSaveFileName(
        this, ToQString(texts::Text(TextId::SaveCsvTitle)),
        ToQString(odds_sheet::CsvFileName(Start())), QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) {
        SaveCsv(path);
    }
}

bool OddsWindow::SaveCsv(const QString& path) {
    QSaveFile file(path);
    const QByteArray csv = QByteArray::fromStdString(OddsCsv(sheet_.Table()));
    if (file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit()) {
        return true;
    }
    ReportSaveFailure(path, file.errorString());
    return false;
}

void OddsWindow::ReportSaveFailure(const QString& path, const QString& reason) {
    QMessageBox box(QMessageBox::Warning, ToQString(texts::Text(TextId::SheetCaption)).trimmed(),
                    ToQString(odds_sheet::SaveFailed(QDir::toNativeSeparators(path).toStdString())),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("SaveFailure"));
    box.setInformativeText(reason);
    box.exec();
}

void OddsWindow::AskAndSavePng() {
    const QString path = QFileDialog::getSaveFileName(
        this, ToQString(texts::Text(TextId::SavePngTitle)),
        ToQString(odds_sheet::PngFileName(Rungs())), QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty()) {
        SavePng(path);
    }
}

bool OddsWindow::SavePng(const QString& path) {
    // The bar chart above, the distance and the power side by side below it.
    const QPixmap top = barView_->grab();
    const QPixmap left = distanceView_->grab();
    const QPixmap right = powerView_->grab();
    QImage image(std::max(top.width(), left.width() + right.width()),
                 top.height() + std::max(left.height(), right.height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, top);
    painter.drawPixmap(0, top.height(), left);
    painter.drawPixmap(left.width(), top.height(), right);
    painter.end();
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit()) {
        return true;
    }
    ReportSaveFailure(path, file.errorString());
    return false;
}

}  // namespace hashigoro
