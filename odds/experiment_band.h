#pragma once

#include <array>
#include <vector>

#include "arrivals.h"

namespace hashigoro {

// Where one experiment's relative frequencies fall when the ladder is as its theoretical
// probabilities say, worked out exactly for whole experiments as the program runs them:
// arrival after arrival until one finds its bar of twenty full (that arrival in no bar), and
// for experiments stopped by hand after a given number of arrivals.
class ExperimentBands {
  public:
    explicit ExperimentBands(const ArrivalOdds& odds);

    // A line's relative frequencies (0..1) that hold 95 % of the experiments of one kind and
    // `trials` squares, give or take 1.5 points, its two tails as alike as they can be. At n
    // squares a line takes only n + 1 values, so at a few squares no interval comes that near:
    // there, the one nearest 95 %. `covered` is its exact share.
    struct Range {
        int trials = 0;
        double low = 0;
        double high = 0;
        double covered = 0;
    };
    // Every number of squares that at least kReach of all experiments reach (0.1 %), where an
    // experiment of that kind can be.
    static constexpr double kReach = 0.001;
    const std::vector<Range>& Ended(int line) const {
        return ended_.at(static_cast<std::size_t>(line - 1));
    }
    const std::vector<Range>& Stopped(int line) const {
        return stopped_.at(static_cast<std::size_t>(line - 1));
    }

    // The most squares an experiment can hold: every bar full.
    static constexpr int kMostTrials = 200;

  private:
    std::array<std::vector<Range>, kArrivalColumns> ended_;
    std::array<std::vector<Range>, kArrivalColumns> stopped_;
};

}  // namespace hashigoro
