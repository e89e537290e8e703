#pragma once

#include "fixed_clock.h"
#include "mixing_random_source.h"

namespace hashigoro {

// A simulation of the answer sheet (ArrivalSimulation or WholeExperiments) with a generator of
// its own, seeded from the system's entropy, and the fixed clock that simulations read.
template <typename Simulation>
struct Seeded {
    Seeded(int rungs, int start)
        : random(MixingRandomSource::FromEntropy()), simulation(rungs, start, random, clock) {}
    Seeded(const Seeded&) = delete;
    Seeded& operator=(const Seeded&) = delete;

    MixingRandomSource random;
    FixedClock clock;
    Simulation simulation;
};

}  // namespace hashigoro
