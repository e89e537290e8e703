#include "fairness_power.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "chi_square.h"
#include "fairness_test.h"

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

namespace {

// The non-central approximation, where the exact power is not worked out.
double ApproximatePower(const ArrivalOdds& odds, std::uint64_t trials) {
    constexpr double kFair = 1.0 / kArrivalColumns;
    double distance = 0;
    for (double p : odds) {
        distance += (p - kFair) * (p - kFair) / kFair;
    }
    constexpr int kDegrees = static_cast<int>(kArrivalColumns) - 1;
    static const double quantile = ChiSquareUpperQuantile(kTestLevel, kDegrees);
    return 1 - NoncentralChiSquareCdf(quantile, kDegrees, static_cast<double>(trials) * distance);
}

}  // namespace

std::vector<double> ExactPowers(const ArrivalOdds& odds) {
    constexpr auto most = static_cast<int>(kExactPowerBelow) - 1;
    // The least rejected count of pairs for every trial count, the same for every ladder.
    static const std::vector<std::uint64_t> rejectedFrom = [] {
        std::vector<std::uint64_t> from(kExactPowerBelow, 0);
        for (std::uint64_t n = 1; n < kExactPowerBelow; ++n) {
            from[n] = RejectedPairsFrom(n);
        }
        return from;
    }();
    // A trial count for which no count of pairs is rejected has no power at all.
    std::vector<int> from(kExactPowerBelow, 0);
    for (std::uint64_t n = 1; n <= most; ++n) {
        from[n] = static_cast<int>(std::min(rejectedFrom[n], n * (n - 1) / 2 + 1));
    }
    std::vector<double> powers = ChancesOfAtLeast(odds, from, 1e-16);
    powers[0] = 0;
    return powers;
}

double FairnessTestPower(const ArrivalOdds& odds, std::uint64_t trials) {
    if (trials < kExactPowerBelow) {
        return ExactPowers(odds)[trials];
    }
    return ApproximatePower(odds, trials);
}

std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power,
                                            std::uint64_t most) {
    return TrialsForPower(odds, power, ExactPowers(odds), most);
}

std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power,
                                            const std::vector<double>& exact, std::uint64_t most) {
    const auto enough = [&](std::uint64_t trials) {
        return ApproximatePower(odds, trials) >= power;
    };
    if (enough(kExactPowerBelow)) {
        // From there on the power only grows; below, go down while it holds.
        std::uint64_t trials = kExactPowerBelow;
        while (trials > 1 && exact[trials - 1] >= power) {
            --trials;
        }
        return trials;
    }
    std::uint64_t low = kExactPowerBelow;  // not enough
    std::uint64_t high = 2 * low;
    while (!enough(high)) {
        if (high >= most) {
            return std::nullopt;
        }
        low = high;
        high = std::min(most, high * 2);
    }
    while (high - low > 1) {
        const std::uint64_t middle = low + (high - low) / 2;
        (enough(middle) ? high : low) = middle;
    }
    return high;
}

std::vector<PowerPoint> PowerCurve(const ArrivalOdds& odds) {
    return PowerCurve(odds, ExactPowers(odds));
}

std::vector<PowerPoint> PowerCurve(const ArrivalOdds& odds, const std::vector<double>& exact) {
    std::vector<PowerPoint> curve;
    for (std::size_t n = 1; n < exact.size(); ++n) {
        curve.push_back({static_cast<double>(n), 100 * exact[n]});
    }
    // Beyond, evenly on the logarithmic axis up to 10,000 trials.
    constexpr int kSteps = 30;
    const double first = static_cast<double>(kExactPowerBelow);
    for (int i = 0; i <= kSteps; ++i) {
        const double trials = std::round(
            first * std::pow(kPowerCurveMostTrials / first, static_cast<double>(i) / kSteps));
        curve.push_back({trials, 100 * ApproximatePower(odds, static_cast<std::uint64_t>(trials))});
    }
    return curve;
}

}  // namespace hashigoro
