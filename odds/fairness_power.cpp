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
double ApproximatePower(const ArrivalOdds& odds, double trials) {
    constexpr double kFair = 1.0 / kArrivalColumns;
    double distance = 0;
    for (double p : odds) {
        distance += (p - kFair) * (p - kFair) / kFair;
    }
    constexpr int kDegrees = static_cast<int>(kArrivalColumns) - 1;
    static const double quantile = ChiSquareUpperQuantile(kTestLevel, kDegrees);
    return 1 - NoncentralChiSquareCdf(quantile, kDegrees, trials * distance);
}

// The trials at which the approximation reaches `power` (continuous), or nothing within `most`.
std::optional<double> ApproximateTrialsFor(const ArrivalOdds& odds, double power, double most) {
    if (ApproximatePower(odds, most) < power) {
        return std::nullopt;
    }
    double low = 0;
    double high = most;
    for (int i = 0; i < 200 && high - low > 1e-6 * high; ++i) {
        const double middle = (low + high) / 2;
        (ApproximatePower(odds, middle) >= power ? high : low) = middle;
    }
    return high;
}

// Beyond the exact powers, the approximation moved along the trials so that it meets the last
// exact power where they join: the curve goes on rising from there without a step, and the
// approximation's error, which runs low, is mostly taken out.
class JoinedPower {
  public:
    JoinedPower(const ArrivalOdds& odds, const std::vector<double>& exact) : odds_(odds) {
        const double last = static_cast<double>(exact.size() - 1);
        const std::optional<double> at =
            exact.back() > 0 ? ApproximateTrialsFor(odds, exact.back(), 1e12) : std::nullopt;
        shift_ = at ? *at - last : 0;
    }
    double operator()(double trials) const { return ApproximatePower(odds_, trials + shift_); }

  private:
    ArrivalOdds odds_;
    double shift_ = 0;
};

}  // namespace

std::vector<double> ExactPowers(const ArrivalOdds& odds) {
    // As far as the approximation says the most power asked for is reached, with room for its
    // error, within kExactPowerMost trials; never below kExactPowerBelow.
    std::uint64_t most = kExactPowerBelow - 1;
    for (double power : {0.5, 0.8, 0.95}) {
        if (const auto reach = ApproximateTrialsFor(odds, power, kExactPowerMost)) {
            const auto room = static_cast<std::uint64_t>(std::ceil(*reach * 1.15 + 10));
            most = std::max(most, std::min<std::uint64_t>(room, kExactPowerMost));
        }
    }
    // The least rejected count of pairs for every trial count, the same for every ladder.
    static const std::vector<std::uint64_t> rejectedFrom = [] {
        std::vector<std::uint64_t> from(kExactPowerMost + 1, 0);
        for (std::uint64_t n = 1; n <= kExactPowerMost; ++n) {
            from[n] = RejectedPairsFrom(n);
        }
        return from;
    }();
    // A trial count for which no count of pairs is rejected has no power at all.
    std::vector<int> from(most + 1, 0);
    for (std::uint64_t n = 1; n <= most; ++n) {
        from[n] = static_cast<int>(std::min(rejectedFrom[n], n * (n - 1) / 2 + 1));
    }
    std::vector<double> powers = ChancesOfAtLeast(odds, from, 1e-16);
    powers[0] = 0;
    return powers;
}

double FairnessTestPower(const ArrivalOdds& odds, std::uint64_t trials) {
    return FairnessTestPower(odds, trials, ExactPowers(odds));
}

double FairnessTestPower(const ArrivalOdds& odds, std::uint64_t trials,
                         const std::vector<double>& exact) {
    if (trials < exact.size()) {
        return exact[trials];
    }
    return JoinedPower(odds, exact)(static_cast<double>(trials));
}

std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power,
                                            std::uint64_t most) {
    return TrialsForPower(odds, power, ExactPowers(odds), most);
}

std::optional<std::uint64_t> TrialsForPower(const ArrivalOdds& odds, double power,
                                            const std::vector<double>& exact, std::uint64_t most) {
    const std::uint64_t last = exact.size() - 1;
    if (exact.back() >= power) {
        // From there on the power only grows; below, go down while it holds.
        std::uint64_t trials = last;
        while (trials > 1 && exact[trials - 1] >= power) {
            --trials;
        }
        return trials;
    }
    const JoinedPower joined(odds, exact);
    const auto enough = [&](std::uint64_t trials) {
        return joined(static_cast<double>(trials)) >= power;
    };
    std::uint64_t low = last;  // not enough
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
    const JoinedPower joined(odds, exact);
    constexpr int kSteps = 30;
    const double first = static_cast<double>(exact.size());
    for (int i = 0; i <= kSteps; ++i) {
        const double trials = std::round(
            first * std::pow(kPowerCurveMostTrials / first, static_cast<double>(i) / kSteps));
        curve.push_back({trials, 100 * joined(trials)});
    }
    return curve;
}

}  // namespace hashigoro
