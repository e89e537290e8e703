#include "drawn_test.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace hashigoro {

namespace {

std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

DrawRandom::DrawRandom(std::uint64_t seed) {
    for (std::uint64_t& word : state_) {
        word = SplitMix(seed);
    }
}

ColumnDraw::ColumnDraw(const ArrivalOdds& odds) {
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    // Likeliest first, ties by column, so that the search ends soon and the same odds always
    // give the same draws.
    std::stable_sort(order_.begin(), order_.end(),
                     [&](std::size_t a, std::size_t b) { return odds[a] > odds[b]; });
    double sum = 0;
    for (std::size_t i = 0; i < kArrivalColumns; ++i) {
        sum += odds[order_[i]];
        upTo_[i] = sum;
        last_ = odds[order_[i]] > 0 ? i : last_;
    }
}

double OddsStatistic(const ArrivalCounts& counts, const ArrivalOdds& odds) {
    double trials = 0;
    for (std::uint64_t count : counts) {
        trials += static_cast<double>(count);
    }
    double statistic = 0;
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        const double expected = odds[c] * trials;
        const auto seen = static_cast<double>(counts[c]);
        if (expected > 0) {
            statistic += (seen - expected) * (seen - expected) / expected;
        } else if (seen > 0) {
            return HUGE_VAL;
        }
    }
    return statistic;
}

int ReachableDegrees(const ArrivalOdds& odds) {
    return std::max(0, static_cast<int>(std::count_if(odds.begin(), odds.end(),
                                                      [](double p) { return p > 0; })) -
                           1);
}

DrawnP DrawnPValue(double statistic, int most, const std::function<double()>& draw) {
    if (std::isinf(statistic)) {
        return {0, false};
    }
    int asLarge = 0;
    for (int drawn = 1; drawn <= most; ++drawn) {
        // A hair of tolerance, so that a tie computed in another order still counts as a tie.
        asLarge += draw() >= statistic * (1 - 1e-12);
        if (asLarge == kEnoughAsLarge) {
            return {static_cast<double>(asLarge) / drawn, false};
        }
        // None as large among so many: the rest of the draws could only make p smaller.
        if (asLarge == 0 && drawn == kDrawsWhenNone) {
            return {1.0 / (1.0 + drawn), true};
        }
    }
    return {(1.0 + asLarge) / (1.0 + most), asLarge == 0};
}

ChiSquareResult OddsAgreement(const ArrivalCounts& counts, const ArrivalOdds& odds) {
    const std::uint64_t trials = std::accumulate(counts.begin(), counts.end(), std::uint64_t{0});
    if (trials > kDrawnUpTo) {
        return ChiSquareTest(counts, odds);
    }
    ChiSquareResult result;
    result.statistic = OddsStatistic(counts, odds);
    result.degreesOfFreedom = ReachableDegrees(odds);
    std::uint64_t seed = 0x6A09E667F3BCC909ULL;
    for (std::uint64_t count : counts) {
        seed = (seed ^ count) * 0x100000001B3ULL;
    }
    DrawRandom random(seed);
    const ColumnDraw column(odds);
    const DrawnP drawnP = DrawnPValue(result.statistic, kMostDraws, [&] {
        ArrivalCounts drawn{};
        for (std::uint64_t n = 0; n < trials; ++n) {
            ++drawn[column.Next(random)];
        }
        return OddsStatistic(drawn, odds);
    });
    result.pValue = drawnP.p;
    result.below = drawnP.below;
    return result;
}

}  // namespace hashigoro
