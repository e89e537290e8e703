#pragma once

#include "experiment_state.h"
#include "random_source.h"

namespace hashigoro {

// Told when a tick of Timer1 finds the ladder complete.
class BuildEndListener {
  public:
    virtual ~BuildEndListener() = default;

    // Runs inside that tick; expected to switch Timer1 off and start the descent.
    virtual void LadderComplete() = 0;
};

// Builds the ladder of a trial, one rung per tick of Timer1, on the state's arrays.
class RungGeneration {
  public:
    RungGeneration(ExperimentState& state, LadderBoard& board, ProgressLabel& label,
                   RandomSource& random, Clock& clock, BuildEndListener& buildEnd);

    // One tick. While RungNo <= RungTotal: shows RungNo in the label, re-seeds from the clock,
    // draws two values (column, then height) and either draws the rung and advances RungNo or,
    // when the same rung already stands, leaves board, label and RungNo as they were.
    // Once RungNo > RungTotal it only calls LadderComplete().
    void Timer1_Timer();

  private:
    ExperimentState& state_;
    LadderBoard& board_;
    ProgressLabel& label_;
    RandomSource& random_;
    Clock& clock_;
    BuildEndListener& buildEnd_;
};

}  // namespace hashigoro
