#include "experiment_band.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "experiment_state.h"

namespace hashigoro {

namespace {

using Range = ExperimentBands::Range;
constexpr auto kFull = static_cast<std::size_t>(kFullBar);
constexpr auto kMost = static_cast<std::size_t>(ExperimentBands::kMostTrials);

// For a set of lines, the chance at each n (0..200) that the first n arrivals all went to
// those lines with no bar past full: the sum over their counts of the multinomial chances.
// Kept as chances (never above 1), so that 200! never has to be held.
using Chances = std::array<double, kMost + 1>;

// C(n, k) for n up to 200: at most about 9e58, well inside a double. Made when first needed,
// on the heap, so that no compiler writes its 320 KB into the program.
using Binomial = std::vector<std::array<double, kMost + 1>>;
const Binomial& Binomials() {
    static const Binomial table = [] {
        Binomial c(kMost + 1);
        for (std::size_t n = 0; n <= kMost; ++n) {
            c[n][0] = 1;
            for (std::size_t k = 1; k <= n; ++k) {
                c[n][k] = c[n - 1][k - 1] + (k < n ? c[n - 1][k] : 0);
            }
        }
        return c;
    }();
    return table;
}

// The lines of `a` and of `b` together: arrivals to either interleaved in every order.
Chances Together(const Chances& a, const Chances& b) {
    const auto& c = Binomials();
    Chances both{};
    for (std::size_t n = 0; n <= kMost; ++n) {
        double sum = 0;
        for (std::size_t k = 0; k <= n; ++k) {
            if (a[k] != 0 && b[n - k] != 0) {
                sum += c[n][k] * a[k] * b[n - k];
            }
        }
        both[n] = sum;
    }
    return both;
}

// One line of chance p: its bar holding k squares, for k up to full.
Chances OneLine(double p) {
    Chances one{};
    for (std::size_t k = 0; k <= kFull; ++k) {
        one[k] = std::pow(p, static_cast<double>(k));
    }
    return one;
}

Chances NoLine() {
    Chances none{};
    none[0] = 1;
    return none;
}

// The interval of counts k = a..b (of a distribution over 0..n) that holds between 93.5 and
// 96.5 %, its tails most alike, then the narrowest; where none does, the one nearest 95 %.
bool NearestRange(const std::vector<double>& weights, std::size_t n, Range& range) {
    double all = 0;
    for (double w : weights) {
        all += w;
    }
    if (all <= 0) {
        return false;
    }
    std::vector<double> below(weights.size() + 1, 0);  // the share of counts below k
    for (std::size_t k = 0; k < weights.size(); ++k) {
        below[k + 1] = below[k] + weights[k] / all;
    }
    // Shares are compared to 1e-12, so that a rounding's noise never picks the interval.
    const auto key = [&](std::size_t a, std::size_t b) {
        const double inside = below[b + 1] - below[a];
        const double off = std::max(0.0, std::abs(inside - 0.95) - 0.015);
        return std::make_tuple(std::round(off * 1e12),
                               std::round(std::abs(below[a] - (1 - below[b + 1])) * 1e12), b - a);
    };
    std::size_t bestA = 0;
    std::size_t bestB = weights.size() - 1;
    auto best = key(bestA, bestB);
    for (std::size_t a = 0; a < weights.size(); ++a) {
        for (std::size_t b = a; b < weights.size(); ++b) {
            if (const auto tried = key(a, b); tried < best) {
                best = tried;
                bestA = a;
                bestB = b;
            }
        }
    }
    const auto squares = static_cast<double>(n);
    range = {static_cast<int>(n), static_cast<double>(bestA) / squares,
             static_cast<double>(bestB) / squares, below[bestB + 1] - below[bestA]};
    return true;
}

}  // namespace

ExperimentBands::ExperimentBands(const ArrivalOdds& odds) {
    const auto& c = Binomials();
    std::array<Chances, kArrivalColumns> single;
    for (std::size_t i = 0; i < kArrivalColumns; ++i) {
        single[i] = OneLine(odds[i]);
    }
    for (std::size_t line = 0; line < kArrivalColumns; ++line) {
        std::vector<std::size_t> others;
        for (std::size_t i = 0; i < kArrivalColumns; ++i) {
            if (i != line) {
                others.push_back(i);
            }
        }
        // All the other lines, and all but one of them, from products before and after it.
        std::vector<Chances> before(others.size() + 1, NoLine());
        std::vector<Chances> after(others.size() + 1, NoLine());
        for (std::size_t i = 0; i < others.size(); ++i) {
            before[i + 1] = Together(before[i], single[others[i]]);
            after[others.size() - i - 1] =
                Together(after[others.size() - i], single[others[others.size() - i - 1]]);
        }
        const Chances& rest = before.back();
        // The chance that m arrivals went to the other lines and the next found one of their
        // bars full.
        Chances endedByOther{};
        for (std::size_t j = 0; j < others.size(); ++j) {
            const double p = odds[others[j]];
            const Chances without = Together(before[j], after[j + 1]);
            const double full = std::pow(p, static_cast<double>(kFull)) * p;
            for (std::size_t m = kFull; m <= kMost; ++m) {
                endedByOther[m] += c[m][kFull] * full * without[m - kFull];
            }
        }
        const double p = odds[line];
        for (std::size_t n = 1; n <= kMost; ++n) {
            std::vector<double> ended(std::min(n, kFull) + 1, 0);
            std::vector<double> stopped(ended.size(), 0);
            double endedThere = 0;
            double stoppedThere = 0;  // the chance of reaching n squares
            for (std::size_t k = 0; k < ended.size(); ++k) {
                const double mine = c[n][k] * std::pow(p, static_cast<double>(k));
                ended[k] = mine * (endedByOther[n - k] + (k == kFull ? p * rest[n - k] : 0));
                stopped[k] = mine * rest[n - k];
                endedThere += ended[k];
                stoppedThere += stopped[k];
            }
            // Every experiment of n squares or more was, after n, one that may be stopped.
            if (stoppedThere < kReach) {
                break;
            }
            Range range;
            if (endedThere > 0 && NearestRange(ended, n, range)) {
                ended_[line].push_back(range);
            }
            if (NearestRange(stopped, n, range)) {
                stopped_[line].push_back(range);
            }
        }
    }
}

}  // namespace hashigoro
