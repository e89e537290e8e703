#pragma once

#include <cstdint>
#include <vector>

#include "arrivals.h"

namespace hashigoro {

// The one test of fairness that every verdict of the answer sheet comes from: Pearson's X² of
// the arrival counts against the fair 10 % in every column, with nine degrees of freedom and
// no columns pooled. Its p-value is the exact tail of X² under fairness while some column
// expects fewer than five arrivals (fewer than 50 trials), and the chi-square distribution's
// from there on, where it is a good guide.
struct FairnessResult {
    double statistic = 0;      // X², 0 for no trials
    int degreesOfFreedom = 9;  // the ten columns less one
    double pValue = 1;         // chance under fairness of an X² at least this large, 0..1
    bool exact = false;        // whether pValue is the exact tail
};

// From this many trials on every column expects five arrivals under fairness.
inline constexpr std::uint64_t kChiSquareFromTrials = 50;

// The level at which every verdict is given.
inline constexpr double kTestLevel = 0.05;

FairnessResult FairnessTest(const ArrivalCounts& counts);

// The fair odds: 10 % in every column.
ArrivalOdds FairOdds();

// Whether a p-value calls the counts unfair at `level`.
inline bool CallsUnfair(double pValue, double level = kTestLevel) {
    return pValue < level;
}

// The distribution of the pairs of arrivals that share a column, T = the sum of c(c - 1)/2 over
// the counts c (so X² = 10 (2T + n) / n - n after n trials), for `trials` arrivals drawn from
// `odds`, for every trial count from 0 to `most` at once: result[n][t] is P(T = t) after n
// trials, for t from 0 to `cap`, with every larger T gathered at `cap`. The counts are walked
// column by column, keeping for each running total m and running T the chance that m arrivals
// fall in the columns so far with that T, which stays in range for any number of trials.
// Weights that can add less than
// `negligible` to any chance are left behind, which saves most of the work for a power.
std::vector<std::vector<double>> PairCountDistributions(const ArrivalOdds& odds, int most, int cap,
                                                        double negligible = 0);

// The chance of T >= from[n] after n trials drawn from `odds`, for every n from 0 to
// from.size() - 1 (from[n] up to the largest of them), with the same leaving behind as above.
std::vector<double> ChancesOfAtLeast(const ArrivalOdds& odds, const std::vector<int>& from,
                                     double negligible = 0);

// The least T after `trials` trials (1 up) that the test calls unfair at the 5 % level; more
// than any T can be when it never does.
std::uint64_t RejectedPairsFrom(std::uint64_t trials);

}  // namespace hashigoro
