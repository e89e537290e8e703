#include "chi_square.h"

#include <cmath>

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

ChiSquareResult ChiSquareTest(const std::array<std::uint64_t, 10>& observed,
                              const ArrivalOdds& odds) {
    double trials = 0;
    for (std::uint64_t count : observed) {
        trials += static_cast<double>(count);
    }
    ChiSquareResult result;
    int bins = 0;
    double pooledExpected = 0;
    double pooledObserved = 0;
    const auto add = [&](double seen, double expected) {
        if (expected > 0) {
            result.statistic += (seen - expected) * (seen - expected) / expected;
            ++bins;
        } else if (seen > 0) {
            result.statistic = HUGE_VAL;  // arrivals where none can be
        }
    };
    for (std::size_t c = 0; c < observed.size(); ++c) {
        const double expected = odds[c] * trials;
        if (expected < 5) {
            pooledExpected += expected;
            pooledObserved += static_cast<double>(observed[c]);
        } else {
            add(static_cast<double>(observed[c]), expected);
        }
    }
    if (pooledExpected > 0 || pooledObserved > 0) {
        add(pooledObserved, pooledExpected);
    }
    result.degreesOfFreedom = std::max(bins - 1, 0);
    if (std::isinf(result.statistic)) {
        result.pValue = 0;
    } else if (result.degreesOfFreedom > 0) {
        result.pValue = UpperGammaQ(result.degreesOfFreedom / 2.0, result.statistic / 2);
    }
    return result;
}

}  // namespace hashigoro
