#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "background_run.h"
#include "odds_sheet.h"
#include "simulation_runner.h"

class QBarSet;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QScatterSeries;
class QSlider;
class QSpinBox;

namespace hashigoro {

class ClassWindow;

// はしごろう＿理論値, the answer sheet: the exact arrival odds of the ladder for a chosen rung
// count (0..225) and start line as a bar chart against the fair 10 %, the distance from fair
// over every rung count, the power of the fairness test with the two sentences on how soon the
// bias shows, and simulations with the experiment's own logic beside the exact odds with their
// verdicts. It draws the answer sheet's model, OddsSheet. 980 x 560 pixels, so that it fits a 1024
// x 600 screen.
class OddsWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit OddsWindow(QWidget* parent = nullptr);

    // The chosen rung count (0..225) and start column (2..11); setting them redraws the charts.
    void SetRungs(int rungs);
    void SetStart(int column);
    int Rungs() const;
    int Start() const;

    // The exact percentages shown in the bar chart, columns 2..11.
    std::array<double, 10> ShownPercentages() const;
    QWidget* BarChart() const;
    QWidget* DistanceChart() const;

    // Starts a simulation of `trials` trials at `rungs` rungs (10..50) from the chosen start.
    void Simulate(int rungs, std::uint64_t trials);
    SimulationRunner& Runner() { return runner_; }
    QString Verdict() const;
    // The two sentences on how soon the bias shows, and whether the whole experiments behind
    // the second are still being run.
    QString PowerSentence() const;
    QString ExperimentsSentence() const;
    bool ExperimentsRunning() const;
    QWidget* PowerChart() const;

    // The simulated percentages beside the exact ones, columns 2..11; 0 where none are shown.
    std::array<double, 10> ObservedPercentages() const;

    // The class part's window, made when first asked for.
    ClassWindow* ClassResults();

    // Save the exact table as CSV, or both charts as one PNG, to `path`; a failure is told in a
    // message box, and the result is false.
    bool SaveCsv(const QString& path);
    bool SavePng(const QString& path);

  private:
    void BuildCharts();
    // Draws the sheet's model for the chosen rung count and start.
    void ShowOdds();
    void ShowSimulation(const ArrivalCounts& counts, bool cancelled);
    void ShowObserved();
    // Whole experiments for the chosen rung count and start, in the background.
    void RunWholeExperiments();
    void AskAndSaveCsv();
    void AskAndSavePng();
    void ReportSaveFailure(const QString& path, const QString& reason);

    OddsSheet sheet_;
    SimulationRunner runner_;
    QSlider* rungSlider_;
    QSpinBox* rungBox_;
    QComboBox* startBox_;
    QLabel* distanceLabel_;
    QSpinBox* trialsBox_;
    QSpinBox* simulatedRungsBox_;
    QPushButton* runButton_;
    QPushButton* cancelButton_;
    QProgressBar* progress_;
    QLabel* verdict_;
    QChartView* barView_;
    QChartView* distanceView_;
    QBarSet* exactBars_;
    QBarSet* observedBars_;
    QLineSeries* curve_;      // distance from fair over every rung count
    QScatterSeries* chosen_;  // the chosen rung count on that curve
    QLabel* powerLabel_;
    QLabel* experimentsLabel_;
    QChartView* powerView_;
    QLineSeries* powerCurve_;
    BackgroundRun experiments_;
    // The run of whole experiments to start when the one under way has ended.
    std::shared_ptr<ExperimentsRun> nextExperiments_;
    ClassWindow* classWindow_ = nullptr;
};

}  // namespace hashigoro
