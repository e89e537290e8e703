#include "fairness_power.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "chi_square.h"

namespace hashigoro {

namespace {

// P(a, x) = 1 - Q(a, x), and g(a) = x^a e^-x / Γ(a + 1), from which P(a + 1) = P(a) - g(a).
double LowerGammaP(double a, double x) {
    return 1 - UpperGammaQ(a, x);
}
double GammaStep(double a, double x) {
    return std::exp(a * std::log(x) - x - std::lgamma(a + 1));
}

}  // namespace

ArrivalOdds FairOdds() {
    ArrivalOdds fair;
    fair.fill(1.0 / kArrivalColumns);
    return fair;
}

double NoncentralChiSquareCdf(double x, int degreesOfFreedom, double noncentrality) {
    if (x <= 0) {
        return 0;
    }
    const double k = degreesOfFreedom;
    const double half = noncentrality / 2;
    const double y = x / 2;
    if (half == 0) {
        return LowerGammaP(k / 2, y);
    }
    // Far below the mean (k + λ) the distribution has no weight at all.
    const double mean = k + noncentrality;
    if (x < mean - 40 * std::sqrt(2 * (k + 2 * noncentrality))) {
        return 0;
    }
    // The sum over j of Poisson(j; λ/2) P(k/2 + j, x/2), from the Poisson mode outwards, where
    // each next weight and each next P follow from the last.
    const double mode = std::floor(half);
    const double modeWeight = std::exp(mode * std::log(half) - half - std::lgamma(mode + 1));
    const double modeP = LowerGammaP(k / 2 + mode, y);
    double sum = modeWeight * modeP;
    // Upwards: j = mode + 1, mode + 2, ...
    double weight = modeWeight;
    double p = modeP;
    double step = GammaStep(k / 2 + mode, y);
    for (double j = mode + 1; weight > 1e-17 || j < half; ++j) {
        weight *= half / j;
        p -= step;
        step *= y / (k / 2 + j);
        sum += weight * std::max(p, 0.0);
        if (p <= 0 && j > half) {
            break;
        }
    }
    // Downwards: j = mode - 1, ..., 0.
    weight = modeWeight;
    p = modeP;
    step = GammaStep(k / 2 + mode - 1, y);
    for (double j = mode - 1; j >= 0 && weight > 1e-17 * sum; --j) {
        weight *= (j + 1) / half;
        p += step;
        step *= (k / 2 + j) / y;
        sum += weight * std::min(p, 1.0);
    }
    return std::clamp(sum, 0.0, 1.0);
}

double ChiSquareUpperQuantile(double upper, int degreesOfFreedom) {
    const double a = degreesOfFreedom / 2.0;
    double low = 0;
    double high = std::max(10.0, 4.0 * degreesOfFreedom);
    while (UpperGammaQ(a, high / 2) > upper) {
        high *= 2;
    }
    for (int i = 0; i < 100 && high - low > 1e-12 * high; ++i) {
        const double middle = (low + high) / 2;
        (UpperGammaQ(a, middle / 2) > upper ? low : high) = middle;
    }
    return (low + high) / 2;
}

double FairnessTestPower(const ArrivalOdds& odds, double trials, double level) {
    const ArrivalOdds fair = FairOdds();
    const ColumnBins bins = BinColumns(fair, trials);
    if (bins.bins < 2) {
        return 0;
    }
    std::vector<double> seen(static_cast<std::size_t>(bins.bins));
    std::vector<double> expected(static_cast<std::size_t>(bins.bins));
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        seen[static_cast<std::size_t>(bins.bin[c])] += odds[c];
        expected[static_cast<std::size_t>(bins.bin[c])] += fair[c];
    }
    double distance = 0;
    for (std::size_t b = 0; b < seen.size(); ++b) {
        distance += (seen[b] - expected[b]) * (seen[b] - expected[b]) / expected[b];
    }
    const int df = bins.bins - 1;
    // The quantile takes a hundred steps to find and is the same for every trial count.
    thread_local std::vector<std::pair<std::pair<double, int>, double>> quantiles;
    auto found = std::find_if(quantiles.begin(), quantiles.end(),
                              [&](const auto& q) { return q.first == std::pair(level, df); });
    if (found == quantiles.end()) {
        quantiles.push_back({{level, df}, ChiSquareUpperQuantile(level, df)});
        found = quantiles.end() - 1;
    }
    return 1 - NoncentralChiSquareCdf(found->second, df, trials * distance);
}

std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power, double level,
                                            std::uint64_t most) {
    const auto enough = [&](std::uint64_t trials) {
        return FairnessTestPower(odds, static_cast<double>(trials), level) >= power;
    };
    // Below 50 trials the fair test pools every column; from there on the power only grows.
    std::uint64_t high = 50;
    while (!enough(high)) {
        if (high >= most) {
            return std::nullopt;
        }
        high = std::min(most, high * 2);
    }
    std::uint64_t low = high / 2;  // not enough, or below 50 where nothing is
    while (high - low > 1) {
        const std::uint64_t middle = low + (high - low) / 2;
        (enough(middle) ? high : low) = middle;
    }
    return high;
}

}  // namespace hashigoro
