#pragma once

#include "experiment_state.h"
#include "timer_switch.h"

namespace hashigoro {

// Told when the marker reaches the bottom of a line.
class ArrivalListener {
  public:
    virtual ~ArrivalListener() = default;

    // Runs inside the arrival tick, after Timer2 has been switched off; `column` is 2..11.
    virtual void Arrival(Int16 column) = 0;
};

// Moves the marker down the finished ladder, one rung per tick of Timer2.
class MarkerDescent {
  public:
    MarkerDescent(ExperimentState& state, LadderBoard& board, TimerSwitch& timers,
                  ArrivalListener& arrival);

    // One tick: from (MarkerColumn, MarkerY) straight down to the nearest rung below that
    // touches the marker's line and across it, both stretches in light red. With no rung left
    // below, draws the last stretch to y = 61, switches Timer2 off, reports the arrival and
    // sets MarkerY to -99. Candidate slots 1..RungTotal hold -99 when the tick ends.
    void Timer2_Timer();

  private:
    void ClearCandidates();

    ExperimentState& state_;
    LadderBoard& board_;
    TimerSwitch& timers_;
    ArrivalListener& arrival_;
};

}  // namespace hashigoro
