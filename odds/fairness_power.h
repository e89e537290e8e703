#pragma once

#include <cstdint>
#include <optional>

#include "arrivals.h"

namespace hashigoro {

// How soon a class sees that its ladder is not fair: the power of Pearson's chi-square test of
// the arrival counts against the fair 10 % in every column, at the 5 % level.

// P(X <= x) for X with the non-central chi-square distribution of `degreesOfFreedom` (1 and
// up) and non-centrality `noncentrality` (0 and up): the Poisson mixture of central ones.
double NoncentralChiSquareCdf(double x, int degreesOfFreedom, double noncentrality);

// The x beyond which a central chi-square of `degreesOfFreedom` lies with chance `upper`.
double ChiSquareUpperQuantile(double upper, int degreesOfFreedom);

// The test's chance of calling a ladder with arrival odds `odds` unfair after `trials` trials:
// binned as the test bins them (BinColumns), the statistic follows the non-central
// chi-square with non-centrality trials x the sum over the bins of (p - f)^2 / f, f the fair
// share of the bin. 0 when the trials are too few for any test (every bin pooled into one).
double FairnessTestPower(const ArrivalOdds& odds, double trials, double level = 0.05);

// The fewest trials after which the test has at least `power` (0..1, above `level`), or
// nothing when even `most` trials are not enough (a fair ladder never is).
std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power,
                                            double level = 0.05,
                                            std::uint64_t most = 1'000'000'000);

// The fair odds: 10 % in every column.
ArrivalOdds FairOdds();

}  // namespace hashigoro
