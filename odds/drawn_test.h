#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "arrivals.h"
#include "chi_square.h"

namespace hashigoro {

// A generator of our own (xoshiro256**, started from SplitMix64): the same numbers from the same
// seed on the desktop and in the page, whatever their standard libraries.
class DrawRandom {
  public:
    explicit DrawRandom(std::uint64_t seed);
    // Inline: a class's draws call it millions of times.
    std::uint64_t Next() {
        const std::uint64_t result = Rotated(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotated(state_[3], 45);
        return result;
    }
    // Uniform in [0, 1), 53 bits.
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

  private:
    static std::uint64_t Rotated(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t state_[4];
};

// Draws arrival columns (0..9) from odds (which add up to 1, or nearly).
class ColumnDraw {
  public:
    explicit ColumnDraw(const ArrivalOdds& odds);
    std::size_t Next(DrawRandom& random) const {
        const double u = random.Uniform() * upTo_[kArrivalColumns - 1];
        for (std::size_t i = 0; i < last_; ++i) {
            if (u < upTo_[i]) {
                return order_[i];  // the first column whose share holds u
            }
        }
        return order_[last_];  // and the last one with odds whatever rounding leaves
    }

  private:
    std::array<std::size_t, kArrivalColumns> order_{};  // columns, likeliest first
    std::array<double, kArrivalColumns> upTo_{};        // running sums of their odds
    std::size_t last_ = 0;                              // the last of them with odds
};

// Pearson's X² of `counts` against `odds` over every column the odds can reach, no columns
// pooled; infinite for an arrival where none can be.
double OddsStatistic(const ArrivalCounts& counts, const ArrivalOdds& odds);

// The columns the odds can reach, less one.
int ReachableDegrees(const ArrivalOdds& odds);

// The p-value of `statistic` from statistics drawn under the exact odds by `draw`, at most
// `most` of them: the draws stop once kEnoughAsLarge of them are as large (a sequential test,
// exact in its level, that spends its draws only where the answer is close; Besag and Clifford),
// else p is (1 + as large) / (1 + most). When none of the first kDrawsWhenNone is as large, the
// draws stop there too, and p is below 1 / (1 + kDrawsWhenNone): a result the odds make almost
// impossible is told as soon as that is known, and never with an estimate in place of a bound.
// Infinite statistics get 0 at once.
inline constexpr int kEnoughAsLarge = 10;
inline constexpr int kDrawsWhenNone = 199;
struct DrawnP {
    double p = 1;
    bool below = false;  // p is only known to be below this
};
DrawnP DrawnPValue(double statistic, int most, const std::function<double()>& draw);

// The most trials for which the exact-odds tests draw their p-value, and how many draws they
// make at the most; beyond, the chi-square distribution's p (columns pooled until each bin
// expects five) is close.
inline constexpr std::uint64_t kDrawnUpTo = 5000;
inline constexpr int kMostDraws = 999;

// Whether independent arrivals agree with the exact odds (a check of a simulation): the
// statistic over every reachable column, its p drawn from samples of as many trials up to
// kDrawnUpTo trials (so that any number of trials, one too, gets a valid verdict), and the
// chi-square distribution's beyond. The same counts always get the same p.
ChiSquareResult OddsAgreement(const ArrivalCounts& counts, const ArrivalOdds& odds);

}  // namespace hashigoro
