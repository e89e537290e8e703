#include "marker_descent.h"

#include <utility>

namespace hashigoro {

MarkerDescent::MarkerDescent(ExperimentState& state, LadderBoard& board, TimerSwitch& timers,
                             ArrivalListener& arrival)
    : state_(state), board_(board), timers_(timers), arrival_(arrival) {}

void MarkerDescent::ClearCandidates() {
    for (Int16 i = 1; i <= state_.RungTotal; ++i) {
        state_.CandY[i] = kEmptySlot;
        state_.CandDir[i] = kEmptySlot;
    }
}

void MarkerDescent::Timer2_Timer() {
    ExperimentState& s = state_;
    s.CandCount = 0;
    ClearCandidates();

    // A rung to the right of the marker's line has the parity of the line, a rung to the left
    // the other one; each test reads only the height array of its rung's parity.
    const bool evenColumn = s.MarkerColumn % 2 == 0;
    const ExperimentState::Array& rightHeights = evenColumn ? s.RungYEven : s.RungYOdd;
    const ExperimentState::Array& leftHeights = evenColumn ? s.RungYOdd : s.RungYEven;
    for (Int16 i = 1; i <= s.RungTotal; ++i) {
        if (s.RungColumn[i] == s.MarkerColumn && rightHeights[i] > s.MarkerY) {
            ++s.CandCount;
            s.CandY[s.CandCount] = rightHeights[i];
            s.CandDir[s.CandCount] = 1;
        } else if (s.RungColumn[i] == s.MarkerColumn - 1 && leftHeights[i] > s.MarkerY) {
            ++s.CandCount;
            s.CandY[s.CandCount] = leftHeights[i];
            s.CandDir[s.CandCount] = -1;
        }
    }

    const float column = s.MarkerColumn;
    if (s.CandCount == 0) {
        board_.Line(column, s.MarkerY, column, kLineBottom, PaletteColour::LightRed);
        timers_.SetTimerEnabled(Timer::Timer2, false);
        arrival_.Arrival(s.MarkerColumn);
        s.MarkerY = kEmptySlot;
        return;
    }

    for (Int16 i = 1; i <= s.CandCount - 1; ++i) {
        for (Int16 j = static_cast<Int16>(i + 1); j <= s.CandCount; ++j) {
            if (s.CandY[j] < s.CandY[i]) {
                std::swap(s.CandY[i], s.CandY[j]);
                std::swap(s.CandDir[i], s.CandDir[j]);
            }
        }
    }
    const Int16 h = s.CandY[1];
    const Int16 d = s.CandDir[1];

    board_.Line(column, s.MarkerY, column, h, PaletteColour::LightRed);
    // The crossing is always drawn from the rung's left end to its right end.
    if (d == -1) {
        board_.Line(column - 1, h, column, h, PaletteColour::LightRed);
        --s.MarkerColumn;
    } else {
        board_.Line(column, h, column + 1, h, PaletteColour::LightRed);
        ++s.MarkerColumn;
    }
    s.MarkerY = h;
    ClearCandidates();
}

}  // namespace hashigoro
