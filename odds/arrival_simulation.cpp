#include "arrival_simulation.h"

#include <stdexcept>
#include <string>

#include "rung_count_prompt.h"

namespace hashigoro {

namespace {

// The checked start column: every trial's marker is put there.
Int16 StartColumn(int start) {
    if (start < kFirstColumn || start > kLastColumn) {
        throw std::out_of_range("start column " + std::to_string(start) + " is not 2..11");
    }
    return static_cast<Int16>(start);
}

}  // namespace

ArrivalSimulation::ArrivalSimulation(int rungs, int start, RandomSource& random, Clock& clock)
    : generation_(state_, *this, *this, random, clock, *this),
      descent_(state_, *this, *this, *this),
      start_(StartColumn(start)) {
    // The rung arrays hold far more, but the experiment's own counts end at 50.
    if (rungs < 0 || rungs > kMaxRungs) {
        throw std::out_of_range("rung count " + std::to_string(rungs) + " is not 0..50");
    }
    FormLoad(state_);
    state_.RungTotal = static_cast<Int16>(rungs);
}

void ArrivalSimulation::SetTimerEnabled(Timer timer, bool enabled) {
    if (timer == Timer::Timer2) {
        descending_ = enabled;
    }
}

void ArrivalSimulation::Run(std::uint64_t trials) {
    for (std::uint64_t t = 0; t < trials; ++t) {
        ResetTrial(state_, false, *this, *this);
        state_.MarkerColumn = start_;
        complete_ = false;
        while (!complete_) {
            generation_.Timer1_Timer();
            ++buildingTicks_;
        }
        --buildingTicks_;  // the hand-over tick builds nothing
        descending_ = true;
        while (descending_) {
            descent_.Timer2_Timer();
        }
        ++counts_[static_cast<std::size_t>(arrival_ - kFirstColumn)];
        ++trials_;
    }
}

}  // namespace hashigoro
