#pragma once

#include <array>

#include "arrivals.h"

namespace hashigoro {

// Pearson's chi-square test of observed arrival counts against exact odds.
struct ChiSquareResult {
    double statistic = 0;
    int degreesOfFreedom = 0;  // bins - 1; 0 when everything is expected in one bin
    double pValue = 1;         // chance of a statistic at least this large, 0..1
    // The p is only known to be below pValue: none of the statistics drawn was as large.
    bool below = false;
};

// How the test bins the ten columns for `trials` trials: a column expected at least five times
// is a bin of its own; the columns expected fewer times share one pooled bin, which takes in
// the columns expected least until it expects at least five too. bin[c] is the bin of column
// c + 2, or -1 for a column that cannot be reached (expected never).
struct ColumnBins {
    std::array<int, kArrivalColumns> bin{};
    int bins = 0;
};
ColumnBins BinColumns(const ArrivalOdds& odds, double trials);

// Counts of columns 2..11 at index column - 2, binned as BinColumns says. An arrival in a
// column that cannot be reached makes the statistic infinite and p zero.
ChiSquareResult ChiSquareTest(const ArrivalCounts& observed, const ArrivalOdds& odds);

// The regularised upper incomplete gamma function Q(a, x) = Γ(a, x) / Γ(a), a > 0, x >= 0.
double UpperGammaQ(double a, double x);

}  // namespace hashigoro
