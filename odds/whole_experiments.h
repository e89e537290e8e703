#pragma once

#include <cstdint>
#include <vector>

#include "arrival_simulation.h"

namespace hashigoro {

// Whole experiments as the main program runs them: trial after trial on ladders of `rungs`
// rungs, each arrival one more square in its column's bar, until an arrival finds its bar's
// twenty squares already full, which ends the experiment (that trial counted in its length,
// its arrival in no bar). Each experiment's final bars are then judged by the fairness test at
// the experiment's own size, as a class would judge them (under fairness the stop at a full bar
// makes the test call fewer than 5 % of experiments unfair, never more). Uses the experiment's own
// rung generation and descent.
class WholeExperiments {
  public:
    // `rungs` 10..50 and `start` 2..11 as ArrivalSimulation takes them; `random` and `clock`
    // must outlive the runs.
    WholeExperiments(int rungs, int start, RandomSource& random, Clock& clock);

    // Runs `experiments` more experiments; the results add up.
    void Run(int experiments);

    int Experiments() const { return static_cast<int>(lengths_.size()); }
    // Trials in each experiment, in the order run.
    const std::vector<int>& Lengths() const { return lengths_; }
    // Experiments whose final bars the test called unfair.
    int Detected() const { return detected_; }
    std::uint64_t Trials() const { return simulation_.Trials(); }

  private:
    ArrivalSimulation simulation_;
    std::vector<int> lengths_;
    int detected_ = 0;
};

// The `share`-th (0..1) of `values`, the nearest rank; 0 for none.
int Percentile(std::vector<int> values, double share);

}  // namespace hashigoro
