#pragma once

#include <vector>

#include "arrivals.h"

namespace hashigoro {

// The possible rungs: 25 heights for each of the nine neighbouring line pairs.
inline constexpr int kRungSlots = 225;

// The exact arrival odds of a ladder whose rungs are a uniformly chosen set of n different rungs
// among the 225 (as the rung generation builds them), for a marker that starts at the top of
// `start` (2..11) and crosses the rungs in order of height. Returns one row for every n from 0
// to 225, at index n; each row sums to 1 within double rounding. Throws std::out_of_range for
// a start outside 2..11.
//
// Rungs at one height never share a line with the rung that meets the marker there, so the
// ladder is walked height by height, counting for every number of rungs placed so far the sets
// that leave the marker in each column: 50 heights x 226 counts x 10 columns.
std::vector<ArrivalOdds> ExactArrivalOdds(int start);

// How far a row is from the fair 10 % in every column.
struct Unfairness {
    double totalVariation = 0;    // half the sum of |p - 0.1| over the columns, 0..0.9
    double largestDeviation = 0;  // the largest |p - 0.1|, 0..0.9
};
Unfairness DistanceFromFair(const ArrivalOdds& odds);

}  // namespace hashigoro
