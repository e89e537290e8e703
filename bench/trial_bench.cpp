#include "trial_bench.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "bench_user.h"
#include "local_time_clock.h"
#include "mixing_random_source.h"
#include "process_memory.h"
#include "pulse_audio_output.h"
#include "qt_program_end.h"
#include "tick_meter.h"
#include "window_switch.h"

namespace hashigoro::bench {

TrialResults RunTrials(const std::vector<int>& rungCounts, int trialsPerBlock) {
    TrialResults results;
    BenchUser user;
    user.rungs = rungCounts.front();
    MixingRandomSource random = MixingRandomSource::FromEntropy();
    LocalTimeClock clock;
    PulseAudioOutput sound;
    QtProgramEnd programEnd;
    WindowSwitch windows(random, clock, sound, programEnd, &user);
    windows.ShowMainWindow();
    Form1* form = windows.MainWindow();
    auto* meter = new TickMeter(*form);
    const int totalTrials = trialsPerBlock * static_cast<int>(rungCounts.size());

    const auto press = [form](Button button) { form->CommandButton(button)->click(); };
    const auto startByHand = [meter, press] {
        meter->TrialStartedByHand();
        press(Button::Command1);
    };

    QObject::connect(meter, &TickMeter::Arrived, form, [&](int trials) {
        if (trials == 10) {
            results.residentMbAtTrial10 = ResidentMb();
        }
        if (trials % trialsPerBlock != 0) {
            return;
        }
        // The block is complete: stop before Timer3 comes round, then the next rung count.
        QTimer::singleShot(0, form, [&, trials] {
            press(Button::Command5);
            if (trials == totalTrials) {
                results.residentMbAtLastTrial = ResidentMb();
                QApplication::exit(0);
                return;
            }
            user.rungs = rungCounts.at(static_cast<std::size_t>(trials / trialsPerBlock));
            press(Button::Command4);  // initialise, and the user enters the next count
            startByHand();
        });
    });

    // The first trial once the window has asked for the rung count and enabled start.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, form, [&] {
        if (form->CommandButton(Button::Command1)->isEnabled()) {
            poll.stop();
            startByHand();
        }
    });
    poll.start(50);
    QApplication::exec();

    for (std::size_t b = 0; b < rungCounts.size(); ++b) {
        TrialBlock block{rungCounts[b], {}, {}};
        for (int t = 0; t < trialsPerBlock; ++t) {
            const auto i = b * static_cast<std::size_t>(trialsPerBlock) + t;
            block.ratios.push_back(meter->trialRatios.at(i));
            block.ticks.push_back(meter->trialTicks.at(i));
        }
        results.blocks.push_back(block);
    }
    results.tickMicroseconds = meter->tickMicroseconds;
    results.intervalMilliseconds = meter->intervalMilliseconds;
    results.idleCpuPercent = 100.0 * meter->idleCpuSeconds / meter->idleWallSeconds;
    results.peakResidentMb = ResidentMb(0, true);
    // The windows go before the services they were handed.
    delete windows.MainWindow();
    delete windows.HelpWindow();
    return results;
}

}  // namespace hashigoro::bench
