#include "chi_square.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace hashigoro {

double UpperGammaQ(double a, double x) {
    if (x <= 0) {
        return 1;
    }
    const double front = std::exp(-x + a * std::log(x) - std::lgamma(a));
    if (x < a + 1) {
        // The series for P(a, x) converges quickly here.
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < 1000 && term > sum * 1e-17; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return std::max(0.0, 1 - sum * front);
    }
    // The continued fraction for Q(a, x), by the modified Lentz method.
    constexpr double kTiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < kTiny ? kTiny : d;
        c = b + an / c;
        c = std::abs(c) < kTiny ? kTiny : c;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::abs(delta - 1) < 1e-16) {
            break;
        }
    }
    return front * h;
}

ColumnBins BinColumns(const ArrivalOdds& odds, double trials) {
    ColumnBins result;
    result.bin.fill(-1);
    constexpr double kLeast = 5;
    std::vector<std::size_t> alone;
    std::vector<std::size_t> pooled;
    double pooledExpected = 0;
    for (std::size_t c = 0; c < odds.size(); ++c) {
        const double expected = odds[c] * trials;
        if (expected >= kLeast) {
            alone.push_back(c);
        } else if (expected > 0) {
            pooled.push_back(c);
            pooledExpected += expected;
        }
    }
    // A pool that still expects fewer than five takes in the column expected least.
    while (!pooled.empty() && pooledExpected < kLeast && !alone.empty()) {
        const auto least = std::min_element(alone.begin(), alone.end(),
                                            [&](auto a, auto b) { return odds[a] < odds[b]; });
        pooled.push_back(*least);
        pooledExpected += odds[*least] * trials;
        alone.erase(least);
    }
    for (std::size_t c : alone) {
        result.bin[c] = result.bins++;
    }
    if (!pooled.empty()) {
        for (std::size_t c : pooled) {
            result.bin[c] = result.bins;
        }
        ++result.bins;
    }
    return result;
}

ChiSquareResult ChiSquareTest(const ArrivalCounts& observed, const ArrivalOdds& odds) {
    double trials = 0;
    for (std::uint64_t count : observed) {
        trials += static_cast<double>(count);
    }
    const ColumnBins bins = BinColumns(odds, trials);
    std::vector<double> expected(static_cast<std::size_t>(bins.bins));
    std::vector<double> seen(static_cast<std::size_t>(bins.bins));
    ChiSquareResult result;
    for (std::size_t c = 0; c < observed.size(); ++c) {
        if (bins.bin[c] < 0) {
            if (observed[c] > 0) {
                result.statistic = HUGE_VAL;  // arrivals where none can be
            }
            continue;
        }
        expected[static_cast<std::size_t>(bins.bin[c])] += odds[c] * trials;
        seen[static_cast<std::size_t>(bins.bin[c])] += static_cast<double>(observed[c]);
    }
    for (std::size_t b = 0; b < expected.size(); ++b) {
        result.statistic += (seen[b] - expected[b]) * (seen[b] - expected[b]) / expected[b];
    }
    result.degreesOfFreedom = std::max(bins.bins - 1, 0);
    if (std::isinf(result.statistic)) {
        result.pValue = 0;
    } else if (result.degreesOfFreedom > 0) {
        result.pValue = UpperGammaQ(result.degreesOfFreedom / 2.0, result.statistic / 2);
    }
    return result;
}

}  // namespace hashigoro
