#pragma once

#include <array>
#include <vector>

namespace hashigoro {

// An experiment that is over: ended by an arrival that found its bar full, or given up with
// its tallies (initialise, help or quit after at least one arrival).
struct FinishedExperiment {
    int rungs = 0;                  // the rung count it ran with
    std::array<int, 10> tallies{};  // the bars under the 1st to 10th line
    int fullLine = 0;               // the line (1..10) whose full bar ended it; 0: given up
    std::vector<int> arrivals{};    // the line (1..10) of each square in the bars, in turn
};

// Where finished experiments go, once each (a stop that may still be resumed is not an end).
class ResultsLog {
  public:
    virtual ~ResultsLog() = default;
    virtual void Record(const FinishedExperiment& experiment) = 0;
    // The experiment was stopped and may still go on: a window may show its line so far;
    // nothing is recorded.
    virtual void Stopped(const FinishedExperiment& /*sofar*/) {}
    // One more square in a bar: a window may follow the experiment as it goes; nothing is
    // recorded.
    virtual void Arrived(const FinishedExperiment& /*sofar*/) {}
};

}  // namespace hashigoro
