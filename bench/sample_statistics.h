#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace hashigoro::bench {

// The p-th percentile (0..100) of `values` by the nearest-rank method; 0 for no values.
inline double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * values.size()));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

inline double Median(std::vector<double> values) {
    return Percentile(std::move(values), 50);
}

}  // namespace hashigoro::bench
