#include "ladder_odds.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

#include "experiment_state.h"

namespace hashigoro {

namespace {

constexpr int kColumns = kLastColumn - kFirstColumn + 1;

// n choose k for the few small n of one height, 0 outside 0..n.
double Choose(int n, int k) {
    if (k < 0 || k > n) {
        return 0;
    }
    double c = 1;
    for (int i = 1; i <= k; ++i) {
        c = c * (n - k + i) / i;
    }
    return c;
}

}  // namespace

std::vector<ArrivalOdds> ExactArrivalOdds(int start) {
    if (start < kFirstColumn || start > kLastColumn) {
        throw std::out_of_range("start column " + std::to_string(start) + " is not 2..11");
    }
    // ways[k][c]: sets of k rungs on the heights walked so far that bring the marker to column
    // c + 2. They run up to 225 choose 112, about 1e66: far inside a double.
    std::vector<ArrivalOdds> ways(kRungSlots + 1, ArrivalOdds{});
    std::vector<ArrivalOdds> next(kRungSlots + 1);
    ways[0][start - kFirstColumn] = 1;
    int placed = 0;  // rungs that the heights walked so far can hold
    for (int y = kLineTop + 1; y < kLineBottom; ++y) {
        // Odd heights belong to the even left columns (5 pairs), even heights to the odd ones.
        const bool oddHeight = y % 2 == 1;
        const int slots = oddHeight ? 5 : 4;
        std::fill(next.begin(), next.begin() + placed + slots + 1, ArrivalOdds{});
        for (int c = kFirstColumn; c <= kLastColumn; ++c) {
            // The one slot at this height that touches line c, if any, and where it leads.
            int target = 0;
            if (c < kLastColumn && (c % 2 == 0) == oddHeight) {
                target = c + 1;
            } else if (c > kFirstColumn && ((c - 1) % 2 == 0) == oddHeight) {
                target = c - 1;
            }
            for (int k = 0; k <= placed; ++k) {
                const double w = ways[k][c - kFirstColumn];
                if (w == 0) {
                    continue;
                }
                for (int j = 0; j <= slots; ++j) {
                    if (target == 0) {
                        next[k + j][c - kFirstColumn] += w * Choose(slots, j);
                    } else {
                        next[k + j][target - kFirstColumn] += w * Choose(slots - 1, j - 1);
                        next[k + j][c - kFirstColumn] += w * Choose(slots - 1, j);
                    }
                }
            }
        }
        placed += slots;
        std::swap(ways, next);
    }
    for (int n = 0; n <= kRungSlots; ++n) {
        const double all = Choose(kRungSlots, n);
        for (double& p : ways[n]) {
            p /= all;
        }
    }
    return ways;
}

Unfairness DistanceFromFair(const ArrivalOdds& odds) {
    Unfairness u;
    for (double p : odds) {
        const double deviation = std::abs(p - 1.0 / kColumns);
        u.totalVariation += deviation / 2;
        u.largestDeviation = std::max(u.largestDeviation, deviation);
    }
    return u;
}

}  // namespace hashigoro
