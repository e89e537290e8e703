#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "arrivals.h"
#include "fairness_test.h"

namespace hashigoro {

// How soon a class sees that its ladder is not fair: the power of the fairness test
// (FairnessTest) at the 5 % level, the chance that this very test calls the ladder unfair.

// P(X <= x) for X with the non-central chi-square distribution of `degreesOfFreedom` (1 and
// up) and non-centrality `noncentrality` (0 and up): the Poisson mixture of central ones.
double NoncentralChiSquareCdf(double x, int degreesOfFreedom, double noncentrality);

// The x beyond which a central chi-square of `degreesOfFreedom` lies with chance `upper`.
double ChiSquareUpperQuantile(double upper, int degreesOfFreedom);

// The power is worked out exactly (PairCountDistributions) for every trial count up to where
// the answer sheet's powers of 50, 80 and 95 % are reached, with room, and at least below
// kExactPowerBelow, at most up to kExactPowerMost trials: the chance, under the ladder's odds,
// of a count of pairs that the test rejects. Beyond, the non-central chi-square with nine
// degrees of freedom and non-centrality trials x the sum of (p - 0.1)² / 0.1, moved along the
// trials to meet the last exact power, is close, and it alone is quick there.
inline constexpr std::uint64_t kExactPowerBelow = 101;
inline constexpr std::uint64_t kExactPowerMost = 250;

// The test's exact power at every trial count it is worked out for, at index trials (0 at 0).
std::vector<double> ExactPowers(const ArrivalOdds& odds);

// The test's power after `trials` trials (1 up) of a ladder with arrival odds `odds`.
double FairnessTestPower(const ArrivalOdds& odds, std::uint64_t trials);
// The same, with ExactPowers(odds) worked out already.
double FairnessTestPower(const ArrivalOdds& odds, std::uint64_t trials,
                         const std::vector<double>& exact);

// The fewest trials from which on the power stays at least `power` (0..1, above 5 %): with few
// trials the exact power rises and falls a little from one count to the next. Nothing when even
// `most` trials are not enough (a fair ladder never is). `exact` is ExactPowers(odds).
std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power,
                                            std::uint64_t most = 1'000'000'000);
std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power,
                                            const std::vector<double>& exact,
                                            std::uint64_t most = 1'000'000'000);

// The power curve that the answer sheet draws: every trial count from 1 to 100, then evenly
// spaced on a logarithmic axis up to 10,000 trials. Power in %. `exact` is ExactPowers(odds).
struct PowerPoint {
    double trials = 0;
    double percent = 0;
};
inline constexpr double kPowerCurveMostTrials = 10'000;
std::vector<PowerPoint> PowerCurve(const ArrivalOdds& odds);
std::vector<PowerPoint> PowerCurve(const ArrivalOdds& odds, const std::vector<double>& exact);

}  // namespace hashigoro
