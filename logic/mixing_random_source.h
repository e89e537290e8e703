#pragma once

#include <cstdint>

#include "random_source.h"

namespace hashigoro {

// The production random source: a 64-bit state walked by the SplitMix64 sequence.
//
// A re-seed mixes the time value into the running state instead of restarting from it. The
// clock, read as a single-precision number of seconds since midnight, only changes every few
// milliseconds while the build ticks every 3 ms; restarting from the time value alone would make
// consecutive ticks pick the same rung and stall the build until the clock moved on.
class MixingRandomSource final : public RandomSource {
  public:
    // Starts from `seed`; equal seeds and equal re-seed values give equal sequences.
    explicit MixingRandomSource(std::uint64_t seed);

    // Starts from 64 bits of the system's entropy source.
    static MixingRandomSource FromEntropy();

    void Reseed(float seed) override;
    float Next() override;

  private:
    std::uint64_t state_;
};

}  // namespace hashigoro
