#pragma once

#include <cstdint>
#include <random>

#include "arrivals.h"
#include "experiment_result.h"

namespace hashigoro {

// An experiment drawn from `odds` by plain code, apart from the program's own: arrivals until
// one finds its bar full, or, when `stopAfter` is given, stopped after that many unless a full
// bar ends it first.
inline ExperimentResult DrawExperiment(int rungs, const ArrivalOdds& odds, std::mt19937_64& random,
                                       std::uint64_t stopAfter = 0) {
    std::discrete_distribution<std::size_t> line(odds.begin(), odds.end());
    ExperimentResult result{rungs, {}, 0};
    for (std::uint64_t n = 0; stopAfter == 0 || n < stopAfter; ++n) {
        const std::size_t c = line(random);
        if (result.counts[c] == 20) {
            result.fullLine = static_cast<int>(c) + 1;
            return result;
        }
        ++result.counts[c];
    }
    return result;
}

}  // namespace hashigoro
