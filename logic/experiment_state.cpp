#include "experiment_state.h"

namespace hashigoro {

void FormLoad(ExperimentState& state) {
    state.MarkerY = kLineTop;
    state.RungNo = 1;
    state.CandCount = 0;
    state.MarkerColumn = kStartColumn;
    state.TallyByBar.fill(0);
}

void DrawLadderLines(LadderBoard& board) {
    for (Int16 x = kFirstColumn; x <= kLastColumn; ++x) {
        board.Line(x, kLineTop, x, kLineBottom, PaletteColour::Black);
    }
}

void ResetTrial(ExperimentState& state, bool clearTallies, LadderBoard& board,
                ProgressLabel& label) {
    // Taken before anything changes: on initialise the new rung count is asked for only
    // after the reset, so this clears the entries of the ladder that was in force.
    const Int16 n = state.RungTotal;
    state.MarkerY = kLineTop;
    state.RungNo = 1;
    state.CandCount = 0;
    state.MarkerColumn = kStartColumn;
    if (clearTallies) {
        state.TallyByBar.fill(0);
    }
    for (Int16 k = 1; k <= n; ++k) {
        state.RungColumn[k] = 0;
        state.RungYEven[k] = 0;
        state.RungYOdd[k] = 0;
    }
    board.Clear();
    DrawLadderLines(board);
    label.SetCaption("");
}

}  // namespace hashigoro
