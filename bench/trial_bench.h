#pragma once

#include <vector>

namespace hashigoro::bench {

struct TrialBlock {
    int rungs = 0;
    std::vector<double> ratios;  // wall time / (ticks x 3 ms), one per trial
    std::vector<double> ticks;
};

struct TrialResults {
    std::vector<TrialBlock> blocks;
    std::vector<double> tickMicroseconds;      // every tick of Timer1 and Timer2
    std::vector<double> intervalMilliseconds;  // from one tick to the next in a trial
    double idleCpuPercent = 0;                 // of one core, while finished trials wait
    double residentMbAtTrial10 = 0;
    double residentMbAtLastTrial = 0;
    double peakResidentMb = 0;
};

// Runs one experiment in the real main window with its real timers, as a user would: for each
// rung count in turn, `trialsPerBlock` trials started by the start button and then by Timer3,
// then stop and initialise with the next count. Needs a display; takes about five seconds per
// trial, since Timer3 starts one trial every five seconds.
TrialResults RunTrials(const std::vector<int>& rungCounts, int trialsPerBlock);

}  // namespace hashigoro::bench
