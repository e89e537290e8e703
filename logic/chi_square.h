#pragma once

#include <array>
#include <cstdint>

#include "ladder_odds.h"

namespace hashigoro {

// Pearson's chi-square test of observed arrival counts against exact odds.
struct ChiSquareResult {
    double statistic = 0;
    int degreesOfFreedom = 0;  // bins - 1; 0 when everything is expected in one column
    double pValue = 1;         // chance of a statistic at least this large, 0..1
};

// Counts of columns 2..11 at index column - 2. Columns expected fewer than five times are
// pooled into one bin, so that the test stays valid for lopsided odds.
ChiSquareResult ChiSquareTest(const std::array<std::uint64_t, 10>& observed,
                              const ArrivalOdds& odds);

// The regularised upper incomplete gamma function Q(a, x), a > 0, x >= 0.
double UpperGammaQ(double a, double x);

}  // namespace hashigoro
