#pragma once

#include <QString>

#include <vector>

namespace hashigoro::bench {

struct StartupResults {
    std::vector<double> milliseconds;  // one per run, the first one cold
    double residentMbAtPrompt = 0;     // of the last run
};

// Starts the real program `runs` times in a folder with the chimes and measures the time from
// the start of the process to its rung-count prompt being shown on the display (polled with
// xdotool every few milliseconds), then ends it.
StartupResults MeasureStartup(const QString& executable, int runs);

}  // namespace hashigoro::bench
