#pragma once

#include <vector>

namespace hashigoro::bench {

// What the answer sheet costs: the exact table, a simulation of the experiment's own logic,
// opening the window, and redrawing its charts when the rung count moves.
struct OddsResults {
    std::vector<double> tableMilliseconds;       // one exact table of 226 rows, per run
    double trialsPerSecond = 0;                  // simulated trials at 50 rungs, one core
    std::vector<double> windowOpenMilliseconds;  // window made and shown until exposed, per run
    std::vector<double> redrawMilliseconds;      // one step of the rung count, charts repainted
    std::vector<double> powerMilliseconds;    // the power curve and the trials for 80 %, per count
    std::vector<double> verdictMilliseconds;  // one fairness verdict of 10 to 150 trials
    double classMilliseconds = 0;             // 10,000 result lines read and pooled
    double largeClassMilliseconds = 0;        // 2,222 lines over 41 rung counts
    double worstLineMilliseconds = 0;         // the single line that takes longest
    double offOddsMilliseconds = 0;           // 2,222 lines a little off the exact odds
    double alikeMilliseconds = 0;             // 40,000 untagged lines alike
    double experimentsSeconds = 0;            // 2,000 whole experiments at 50 rungs
    std::vector<double> classRedrawMilliseconds;  // a class's settling, other lines chosen
    std::vector<double> bandMilliseconds;         // a rung count's bands worked out, 10 to 50
};

OddsResults MeasureOdds();

}  // namespace hashigoro::bench
