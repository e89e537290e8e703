#pragma once

namespace hashigoro {

// The random source that places the rungs.
class RandomSource {
  public:
    virtual ~RandomSource() = default;

    // Mixes `seed` into the generator; the build calls it once per building tick.
    virtual void Reseed(float seed) = 0;

    // Next value r with 0 <= r < 1.
    virtual float Next() = 0;
};

// The time of day that seeds the random source.
class Clock {
  public:
    virtual ~Clock() = default;

    // Seconds since local midnight, with the fraction of a second: 0 <= t <= 86400.
    virtual float SecondsSinceMidnight() = 0;
};

}  // namespace hashigoro
