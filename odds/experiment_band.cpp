#include "experiment_band.h"

#include <algorithm>
#include <utility>

#include "drawn_test.h"
#include "experiment_state.h"

namespace hashigoro {

namespace {

using Range = ExperimentBands::Range;
constexpr auto kFull = static_cast<std::size_t>(kFullBar);
constexpr auto kMost = static_cast<std::size_t>(ExperimentBands::kMostTrials);

// How many experiments held `k` squares (0..20) in a line's bar with n squares in all:
// [n][line][k].
using Histogram = std::vector<std::array<std::array<std::uint32_t, kFull + 1>, kArrivalColumns>>;

// The middle 95 % of a line's relative frequencies at n squares, or nothing where fewer than
// kEnough experiments were seen there.
bool MiddleShares(const Histogram& ended, const Histogram& running, std::size_t n, std::size_t l,
                  Range& range) {
    std::vector<std::pair<double, std::uint32_t>> shares;  // a relative frequency, how often
    std::uint64_t all = 0;
    const auto add = [&](std::size_t m, const Histogram& seen) {
        for (std::size_t k = 0; k <= kFull; ++k) {
            if (const std::uint32_t times = seen[m][l][k]) {
                shares.emplace_back(static_cast<double>(k) / static_cast<double>(m), times);
                all += times;
            }
        }
    };
    constexpr auto kNear = static_cast<std::size_t>(ExperimentBands::kNeighbours);
    for (std::size_t m = std::max<std::size_t>(1, n - std::min(n, kNear));
         m <= std::min(kMost, n + kNear); ++m) {
        add(m, ended);
    }
    if (all < ExperimentBands::kEnough) {
        shares.clear();
        all = 0;
        add(n, running);
    }
    if (all < ExperimentBands::kEnough) {
        return false;
    }
    std::sort(shares.begin(), shares.end());
    // The nearest ranks of the 2.5th and 97.5th percentiles.
    const auto rank = [&](double share) {
        const auto wanted = static_cast<std::uint64_t>(share * static_cast<double>(all)) + 1;
        std::uint64_t seen = 0;
        for (const auto& [value, times] : shares) {
            seen += times;
            if (seen >= wanted) {
                return value;
            }
        }
        return shares.back().first;
    };
    range = {static_cast<int>(n), rank(0.025), rank(0.975)};
    return true;
}

}  // namespace

ExperimentBands::ExperimentBands(const ArrivalOdds& odds, int experiments, std::uint64_t seed) {
    Histogram ended(kMost + 1);
    Histogram running(kMost + 1);
    DrawRandom random(seed);
    const ColumnDraw draw(odds);
    for (int e = 0; e < experiments; ++e) {
        std::array<std::size_t, kArrivalColumns> bars{};
        for (std::size_t n = 0;;) {
            const std::size_t c = draw.Next(random);
            if (bars[c] == kFull) {
                for (std::size_t line = 0; line < kArrivalColumns; ++line) {
                    ++ended[n][line][bars[line]];
                }
                break;
            }
            ++bars[c];
            ++n;
            for (std::size_t line = 0; line < kArrivalColumns; ++line) {
                ++running[n][line][bars[line]];
            }
        }
    }
    for (std::size_t line = 0; line < kArrivalColumns; ++line) {
        for (std::size_t n = 1; n <= kMost; ++n) {
            Range range;
            if (MiddleShares(ended, running, n, line, range)) {
                bands_[line].push_back(range);
            }
        }
    }
}

}  // namespace hashigoro
