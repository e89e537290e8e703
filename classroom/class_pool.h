#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "arrivals.h"
#include "chi_square.h"
#include "drawn_test.h"
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
    // Against the exact odds: Pearson's X² of every arrival of the class (the pooled counts
    // and, for each experiment that ended, the arrival that found its bar full) against the
    // exact odds, every reachable column its own. Up to kDrawnClassesUpTo arrivals its p comes
    // from classes drawn from the exact odds, the same experiments each run as it ran (to its
    // full bar, or stopped after as many trials), whose X² is as large or larger (DrawnPValue),
    // so that no class of a ladder as it should be is doubted more than one time in twenty, and
    // the same lines in any order get the same p; beyond, where the draws would take long, the
    // chi-square distribution's, which is then close.
    ChiSquareResult odds;
};

// When fairness is not yet called into doubt: about how many more experiments like these the
// class needs for the test to have 8 chances in 10 (0: it has the trials already); nothing
// when fairness is doubted or no number would do (the ladder is almost fair). Worked out for
// one group when it is shown, as it takes a power curve's sums.
std::optional<int> MoreForEighty(const ClassGroup& group);

// The theoretical probabilities of the experiment's ladder of `rungs` (0..225) rungs, start at
// line 3.
const ArrivalOdds& ExperimentOdds(int rungs);

// Classes drawn for the exact-odds test at the most, and the most arrivals for which it draws.
inline constexpr int kDrawnClasses = kMostDraws;
inline constexpr std::uint64_t kDrawnClassesUpTo = kDrawnUpTo;

// The experiments grouped by rung count, in rising order. The classes for the exact-odds test
// are `draws` at the most, from our own generator seeded from the class's experiments, so that
// the same lines always get the same p, in any order and in every edition.
std::vector<ClassGroup> PoolClass(const std::vector<ExperimentResult>& experiments,
                                  int draws = kDrawnClasses);

// The pooled table as CSV: rungs,experiments,trials,line,count,relative_frequency,exact_odds,
// one row a line of each group, numbers with a decimal point in any locale.
std::string ClassCsv(const std::vector<ClassGroup>& groups);

}  // namespace hashigoro
