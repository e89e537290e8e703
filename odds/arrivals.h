#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace hashigoro {

// The ten arrival columns 2..11, held at index column - 2.
inline constexpr std::size_t kArrivalColumns = 10;

// Probabilities of arriving in each column.
using ArrivalOdds = std::array<double, kArrivalColumns>;

// Arrivals counted in each column.
using ArrivalCounts = std::array<std::uint64_t, kArrivalColumns>;

}  // namespace hashigoro
