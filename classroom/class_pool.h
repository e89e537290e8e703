#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "arrivals.h"
#include "chi_square.h"
#include "experiment_result.h"
#include "fairness_test.h"

namespace hashigoro {

// A class's experiments at one rung count, put together and held against the exact odds.
struct ClassGroup {
    int rungs = 0;
    int experiments = 0;
    std::uint64_t trials = 0;
    ArrivalCounts pooled{};  // the bars of every experiment added up, lines 1 to 10
    ArrivalOdds exact{};     // the exact odds of the experiment's ladder (start at line 3)
    // Against fair: the one fairness test of the whole program, on the pooled counts.
    FairnessResult fairness;
    // Against the exact odds: the chi-square test of the answer sheet's simulations, on every
    // arrival of the class: the pooled counts and, for each experiment that ended, the
    // arrival that found its bar full. (Left out, those arrivals would bend the counts away
    // from the odds, the likeliest lines most, and the test would wrongly doubt them.)
    ChiSquareResult odds;
    // When fairness is not yet called into doubt: about how many more experiments like these
    // the class needs for the test to have 8 chances in 10; nothing when none are (the ladder
    // is almost fair).
    std::optional<int> moreForEighty;
};

// The experiments grouped by rung count, in rising order.
std::vector<ClassGroup> PoolClass(const std::vector<ExperimentResult>& experiments);

// The pooled table as CSV: rungs,experiments,trials,line,count,relative_frequency,exact_odds,
// one row a line of each group, numbers with a decimal point in any locale.
std::string ClassCsv(const std::vector<ClassGroup>& groups);

}  // namespace hashigoro
