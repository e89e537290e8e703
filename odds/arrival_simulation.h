#pragma once

#include <cstdint>

#include "arrivals.h"
#include "experiment_state.h"
#include "marker_descent.h"
#include "random_source.h"
#include "rung_generation.h"

namespace hashigoro {

// Trials of the experiment run back to back with the program's own rung generation and marker
// descent, tick by tick, drawing nowhere: for comparing the observed arrivals with the exact
// odds. Every trial builds a fresh ladder of `rungs` rungs, re-seeding `random` from `clock` at
// every building tick as the program does.
class ArrivalSimulation final : private LadderBoard,
                                private ProgressLabel,
                                private TimerSwitch,
                                private BuildEndListener,
                                private ArrivalListener {
  public:
    // `rungs` 0..50, `start` the start column 2..11 (the program's is 4); throws
    // std::out_of_range for others. `random` and `clock` must outlive the simulation.
    ArrivalSimulation(int rungs, int start, RandomSource& random, Clock& clock);

    // Runs `trials` more trials; the counts add up.
    void Run(std::uint64_t trials);

    // Arrivals in columns 2..11, at index column - 2.
    const ArrivalCounts& Counts() const { return counts_; }
    std::uint64_t Trials() const { return trials_; }
    // Building ticks over all trials (picks, rejected ones included; no hand-over ticks).
    std::uint64_t BuildingTicks() const { return buildingTicks_; }

  private:
    void Clear() override {}
    void Line(float, float, float, float, PaletteColour) override {}
    void SetCaption(const std::string&) override {}
    void SetTimerEnabled(Timer timer, bool enabled) override;
    void LadderComplete() override { complete_ = true; }
    void Arrival(Int16 column) override { arrival_ = column; }

    ExperimentState state_;
    RungGeneration generation_;
    MarkerDescent descent_;
    Int16 start_;
    bool complete_ = false;
    bool descending_ = false;
    Int16 arrival_ = 0;
    ArrivalCounts counts_{};
    std::uint64_t trials_ = 0;
    std::uint64_t buildingTicks_ = 0;
};

}  // namespace hashigoro
