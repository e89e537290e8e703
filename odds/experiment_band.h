#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "arrivals.h"

namespace hashigoro {

// Where one experiment's relative frequencies fall when the ladder is as its theoretical
// probabilities say: whole experiments drawn from them as the program runs them, arrival after
// arrival until one finds its bar of twenty full (that arrival in no bar), so that an
// experiment's length is not fixed but follows from its arrivals.
class ExperimentBands {
  public:
    // Draws `experiments` experiments from `odds` with our own generator seeded with `seed`:
    // the same bands every time, in every edition.
    ExperimentBands(const ArrivalOdds& odds, int experiments, std::uint64_t seed);

    // The middle 95 % of the relative frequencies (0..1) of line `line` (1..10) among the
    // experiments of `trials` squares: those that ended by a full bar with about as many
    // (within kNeighbours either way), or where fewer than kEnough ended so, the experiments
    // still running after that many (as one stopped by hand would be). Nothing where neither
    // has kEnough.
    struct Range {
        int trials = 0;
        double low = 0;
        double high = 0;
    };
    static constexpr int kNeighbours = 3;
    static constexpr std::uint64_t kEnough = 200;
    const std::vector<Range>& Band(int line) const {
        return bands_.at(static_cast<std::size_t>(line - 1));
    }

    // The most squares an experiment can hold: every bar full.
    static constexpr int kMostTrials = 200;

  private:
    std::array<std::vector<Range>, kArrivalColumns> bands_;
};

}  // namespace hashigoro
