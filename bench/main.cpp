// The bench of はしごろう: measures on the display it is started on (a real X server) and prints
// one table. Usage: hashigoro_bench [TRIALS_PER_RUNG_COUNT] [STARTUP_RUNS] [-v]
// With -v it also prints every trial's ticks and ratio.

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "application_setup.h"
#include "odds_bench.h"
#include "sample_statistics.h"
#include "startup_bench.h"
#include "trial_bench.h"

using namespace hashigoro::bench;

namespace {

void Row(const char* measure, const QString& value, const char* target, bool met) {
    std::printf("%-46s %-30s %-22s %s\n", measure, qPrintable(value), target,
                met ? "met" : "MISSED");
}

// A row of a time in milliseconds against its limit.
void MillisecondsRow(const char* measure, double milliseconds, double limit) {
    Row(measure, QString("%1 ms").arg(milliseconds, 0, 'f', 1),
        qPrintable(QString("<= %1 ms").arg(limit)), milliseconds <= limit);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    hashigoro::SetUpApplication(app);
    const int trialsPerCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int startupRuns = argc > 2 ? std::max(2, std::atoi(argv[2])) : 11;
    const bool verbose = argc > 3 && std::string_view(argv[3]) == "-v";

    // Start-up first, while this process is still small and quiet.
    const StartupResults startup = MeasureStartup(HASHIGORO_EXECUTABLE, startupRuns);
    const TrialResults trials = RunTrials({10, 30, 50}, trialsPerCount);

    std::printf("%-46s %-30s %-22s %s\n", "measure", "value", "target", "");
    for (const TrialBlock& block : trials.blocks) {
        const double median = Median(block.ratios);
        Row(qPrintable(QString("trial time / (ticks x 3 ms), N = %1, %2 trials")
                           .arg(block.rungs)
                           .arg(block.ratios.size())),
            QString("median %1, p95 %2")
                .arg(median, 0, 'f', 3)
                .arg(Percentile(block.ratios, 95), 0, 'f', 3),
            "median <= 1.10", median <= 1.10);
        std::printf("%-46s %-30s\n", "   ticks per trial",
                    qPrintable(QString("median %1").arg(Median(block.ticks))));
        if (verbose) {
            for (std::size_t t = 0; t < block.ratios.size(); ++t) {
                std::printf("      %3.0f ticks  %.3f\n", block.ticks[t], block.ratios[t]);
            }
        }
    }
    std::printf("%-46s %-30s\n", "   interval from tick to tick",
                qPrintable(QString("median %1 ms, p99 %2 ms, max %3 ms")
                               .arg(Median(trials.intervalMilliseconds), 0, 'f', 2)
                               .arg(Percentile(trials.intervalMilliseconds, 99), 0, 'f', 2)
                               .arg(Percentile(trials.intervalMilliseconds, 100), 0, 'f', 1)));
    const double tickMedian = Median(trials.tickMicroseconds);
    Row(qPrintable(QString("work per tick of Timer1/Timer2, %1 ticks")
                       .arg(trials.tickMicroseconds.size())),
        QString("median %1 us, p99 %2 us")
            .arg(tickMedian, 0, 'f', 1)
            .arg(Percentile(trials.tickMicroseconds, 99), 0, 'f', 1),
        "median <= 50 us", tickMedian <= 50);
    if (startup.milliseconds.size() >= 2) {
        const std::vector<double> warm(startup.milliseconds.begin() + 1,
                                       startup.milliseconds.end());
        const double warmMedian = Median(warm);
        Row(qPrintable(QString("start-up to the prompt, %1 warm runs").arg(warm.size())),
            QString("median %1 ms, cold %2 ms")
                .arg(warmMedian, 0, 'f', 0)
                .arg(startup.milliseconds.front(), 0, 'f', 0),
            "warm <= 300 ms", warmMedian <= 300);
        std::printf("%-46s %-30s\n", "   resident at the prompt",
                    qPrintable(QString("%1 MB").arg(startup.residentMbAtPrompt, 0, 'f', 1)));
    } else {
        Row("start-up to the prompt", "prompt never seen", "warm <= 300 ms", false);
    }
    const int total = static_cast<int>(trials.blocks.size()) * trialsPerCount;
    Row(qPrintable(QString("peak resident set over %1 trials").arg(total)),
        QString("%1 MB").arg(trials.peakResidentMb, 0, 'f', 1), "<= 50 MB",
        trials.peakResidentMb <= 50);
    if (total > 10) {
        const double growth = trials.residentMbAtLastTrial - trials.residentMbAtTrial10;
        Row(qPrintable(QString("resident growth, trial 10 to trial %1").arg(total)),
            QString("%1 -> %2 MB")
                .arg(trials.residentMbAtTrial10, 0, 'f', 1)
                .arg(trials.residentMbAtLastTrial, 0, 'f', 1),
            "no growth (< 0.5 MB)", growth < 0.5);
    }
    Row("CPU while a finished trial waits",
        QString("%1 % of one core").arg(trials.idleCpuPercent, 0, 'f', 2), "<= 1 %",
        trials.idleCpuPercent <= 1.0);

    const OddsResults odds = MeasureOdds();
    const double table = Median(odds.tableMilliseconds);
    Row("exact odds: the table of 226 rows", QString("median %1 ms").arg(table, 0, 'f', 3),
        "<= 10 ms", table <= 10);
    Row("simulation at 50 rungs, one core",
        QString("%1 trials/s").arg(odds.trialsPerSecond, 0, 'f', 0), ">= 100,000 trials/s",
        odds.trialsPerSecond >= 100000);
    const double power = Percentile(odds.powerMilliseconds, 100);
    Row("power: the curve and the trials for 80 % at one rung count",
        QString("median %1 ms, max %2 ms")
            .arg(Median(odds.powerMilliseconds), 0, 'f', 3)
            .arg(power, 0, 'f', 3),
        "<= 20 ms", power <= 20);
    const double verdict = Percentile(odds.verdictMilliseconds, 100);
    Row("one fairness verdict, 10 to 150 trials",
        QString("median %1 ms, max %2 ms (the first builds the exact tails)")
            .arg(Median(odds.verdictMilliseconds), 0, 'f', 3)
            .arg(verdict, 0, 'f', 3),
        "<= 5 ms", verdict <= 5);
    MillisecondsRow("a class: 10,000 result lines read and pooled", odds.classMilliseconds, 100);
    MillisecondsRow("a class: 2,222 lines over 41 rung counts read and pooled",
                    odds.largeClassMilliseconds, 1000);
    MillisecondsRow("  the same a little off the exact odds", odds.offOddsMilliseconds, 1000);
    MillisecondsRow("a class: 40,000 untagged lines alike read and pooled", odds.alikeMilliseconds,
                    1000);
    MillisecondsRow("a class: the costliest single line read and pooled",
                    odds.worstLineMilliseconds, 200);
    Row("2,000 whole experiments at 50 rungs",
        QString("%1 s").arg(odds.experimentsSeconds, 0, 'f', 2), "<= 2 s",
        odds.experimentsSeconds <= 2);
    const std::vector<double> warmOpen(odds.windowOpenMilliseconds.begin() + 1,
                                       odds.windowOpenMilliseconds.end());
    Row("odds window opens, warm",
        QString("median %1 ms, cold %2 ms")
            .arg(Median(warmOpen), 0, 'f', 0)
            .arg(odds.windowOpenMilliseconds.front(), 0, 'f', 0),
        "<= 400 ms", Median(warmOpen) <= 400);
    const double redraw = Percentile(odds.redrawMilliseconds, 100);
    Row("rung count moved: the three charts redrawn",
        QString("median %1 ms, max %2 ms")
            .arg(Median(odds.redrawMilliseconds), 0, 'f', 2)
            .arg(redraw, 0, 'f', 2),
        "<= 16 ms", Median(odds.redrawMilliseconds) <= 16);
    Row("a rung count's bands worked out, 10 to 50 rungs",
        QString("median %1 ms, max %2 ms")
            .arg(Median(odds.bandMilliseconds), 0, 'f', 1)
            .arg(Percentile(odds.bandMilliseconds, 100), 0, 'f', 1),
        "max <= 19 ms (the drawn band it replaced)", Percentile(odds.bandMilliseconds, 100) <= 19);
    const double classRedraw = Median(odds.classRedrawMilliseconds);
    Row("a class's settling, 2,222 lines: other lines chosen",
        QString("median %1 ms, max %2 ms")
            .arg(classRedraw, 0, 'f', 1)
            .arg(Percentile(odds.classRedrawMilliseconds, 100), 0, 'f', 1),
        "median <= 50 ms", classRedraw <= 50);
    return 0;
}
