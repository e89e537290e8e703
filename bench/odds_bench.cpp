#include "odds_bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <QtCharts/QChartView>
#include <algorithm>

#include <QComboBox>

#include "arrival_simulation.h"
#include "class_pool.h"
#include "class_trend_charts.h"
#include "class_window.h"
#include "drawn_test.h"
#include "experiment_band.h"
#include "experiment_result.h"
#include "fairness_power.h"
#include "fairness_test.h"
#include "fixed_clock.h"
#include "ladder_odds.h"
#include "mixing_random_source.h"
#include "odds_window.h"
#include "rung_count_prompt.h"
#include "whole_experiments.h"

namespace hashigoro::bench {

namespace {

double Milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

OddsResults MeasureOdds() {
    OddsResults results;
    QElapsedTimer timer;
    for (int run = 0; run < 51; ++run) {
        timer.start();
        const std::vector<ArrivalOdds> table = ExactArrivalOdds(4);
        results.tableMilliseconds.push_back(Milliseconds(timer));
    }

    MixingRandomSource random(2026);
    FixedClock clock;
    ArrivalSimulation simulation(50, 4, random, clock);
    timer.start();
    simulation.Run(300000);
    results.trialsPerSecond = 300000 / (Milliseconds(timer) / 1000);

    // How soon the bias shows: the power curve and the trials for 80 % for every rung count of
    // the experiment, as the sheet works them out, and the whole experiments behind the sentence.
    const std::vector<ArrivalOdds> table = ExactArrivalOdds(4);
    for (int n = 10; n <= 50; ++n) {
        timer.start();
        const ArrivalOdds& odds = table[static_cast<std::size_t>(n)];
        const std::vector<double> exact = ExactPowers(odds);
        PowerCurve(odds, exact);
        TrialsForPower(odds, 0.8, exact);
        results.powerMilliseconds.push_back(Milliseconds(timer));
    }
    // One verdict on counts a class may have, the exact tails' table made on the first.
    for (int trials = 10; trials <= 150; trials += 10) {
        ArrivalCounts counts{};
        for (int t = 0; t < trials; ++t) {
            ++counts[static_cast<std::size_t>(t * 7 % 10)];
        }
        timer.start();
        FairnessTest(counts);
        results.verdictMilliseconds.push_back(Milliseconds(timer));
    }
    // A class's 10,000 result lines, read and pooled.
    std::string lines;
    for (int i = 0; i < 10000; ++i) {
        ExperimentResult result{10 + i % 41, {}, 1 + i % 10};
        result.counts[static_cast<std::size_t>(i % 10)] = 20;
        result.counts[static_cast<std::size_t>((i + 3) % 10)] = static_cast<std::uint64_t>(i % 21);
        lines += ResultLine(result) + "\n";
    }
    timer.start();
    std::vector<ExperimentResult> read;
    for (const ReadExperiment& experiment : ReadResultLines(lines).experiments) {
        read.push_back(experiment.result);
    }
    PoolClass(read);
    results.classMilliseconds = Milliseconds(timer);

    // A large class as it comes: 2,222 whole experiments drawn from the exact odds over the 41
    // rung counts, read and pooled; and the single lines that cost the most.
    {
        DrawRandom draw(20261208);
        std::string drawn;
        std::string offOdds;
        for (int i = 0; i < 2222; ++i) {
            const int rungs = 10 + i % 41;
            const ColumnDraw column(table[static_cast<std::size_t>(rungs)]);
            ExperimentResult result{rungs, {}, 0};
            for (;;) {
                const std::size_t c = column.Next(draw);
                if (result.counts[c] == 20) {
                    result.fullLine = static_cast<int>(c) + 1;
                    break;
                }
                ++result.counts[c];
            }
            drawn += ResultLine(result) + "\n";
            // The same class a little off the exact odds: each line said to have one rung more.
            result.rungs = rungs == 50 ? 49 : rungs + 1;
            offOdds += ResultLine(result) + "\n";
        }
        const auto pool = [&](const std::string& text) {
            timer.start();
            std::vector<ExperimentResult> read;
            for (const ReadExperiment& experiment : ReadResultLines(text).experiments) {
                read.push_back(experiment.result);
            }
            PoolClass(read);
            return Milliseconds(timer);
        };
        results.largeClassMilliseconds = pool(drawn);
        results.offOddsMilliseconds = pool(offOdds);
        std::string alike;
        for (int i = 0; i < 40000; ++i) {
            alike += "横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了\n";
        }
        results.alikeMilliseconds = pool(alike);
        for (const char* line : {"横線10本　20 20 20 20 20 20 20 20 20 20　途中で終了",
                                 "横線50本　20 20 20 20 20 20 20 20 20 20　3本目が満杯で終了",
                                 "横線30本　0 0 0 0 0 0 0 0 0 20　途中で終了"}) {
            results.worstLineMilliseconds = std::max(results.worstLineMilliseconds, pool(line));
        }
    }

    WholeExperiments experiments(50, 4, random, clock);
    timer.start();
    experiments.Run(2000);
    results.experimentsSeconds = Milliseconds(timer) / 1000;

    for (int run = 0; run < 6; ++run) {
        timer.start();
        auto* window = new OddsWindow;
        window->show();
        while (!window->windowHandle() || !window->windowHandle()->isExposed()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        QApplication::processEvents();
        results.windowOpenMilliseconds.push_back(Milliseconds(timer));
        if (run == 5) {
            for (int n = 0; n <= kRungSlots; ++n) {
                timer.start();
                window->SetRungs(n);
                // What the slider's move costs on screen: the charts laid out and painted.
                for (QWidget* chart :
                     {window->BarChart(), window->DistanceChart(), window->PowerChart()}) {
                    static_cast<QChartView*>(chart)->viewport()->repaint();
                }
                results.redrawMilliseconds.push_back(Milliseconds(timer));
            }
        }
        delete window;
    }

    // A rung count's bands, worked out when a class first shows it: every rung count once.
    for (int rungs = kMinRungs; rungs <= kMaxRungs; ++rungs) {
        const ArrivalOdds odds = ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
        timer.start();
        const ExperimentBands bands(odds);
        results.bandMilliseconds.push_back(Milliseconds(timer));
    }

    // A class's settling for 2,222 lines over five rung counts, drawn again when the lines shown
    // change: the two charts laid out and painted, as a person sees them.
    {
        std::string lines;
        for (int e = 0; e < 2222; ++e) {
            ExperimentResult result{
                10 + 10 * (e % 5), {}, 2, ExperimentTag(static_cast<std::uint64_t>(e))};
            result.counts = {static_cast<std::uint64_t>(e % 7), 20, 3, 4, 5, 6, 2, 1, 0,
                             static_cast<std::uint64_t>(e % 3)};
            lines += ResultLine(result) + "\n";
        }
        ClassWindow part;
        part.AddText(QString::fromStdString(lines));
        while (part.GroupChoice()->count() < 5) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        part.GroupChoice()->setCurrentIndex(4);
        ClassTrendCharts* charts = part.Trend();
        const std::vector<std::vector<int>> choices = {{2, 5}, {1, 2, 3}, {1, 2, 3, 10}, {3}};
        for (int run = 0; run < 12; ++run) {
            timer.start();
            charts->ChooseLines(choices[static_cast<std::size_t>(run) % choices.size()]);
            charts->TrendView()->grab();
            charts->SpreadView()->grab();
            results.classRedrawMilliseconds.push_back(Milliseconds(timer));
        }
    }
    return results;
}

}  // namespace hashigoro::bench
