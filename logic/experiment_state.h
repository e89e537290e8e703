#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ladder_board.h"
#include "progress_label.h"

namespace hashigoro {

// Every integer the experiment keeps is a 16-bit signed value: the board, the rung indexes and
// the tallies are all small, and the arrays' bounds are fixed.
using Int16 = std::int16_t;

// Board geometry, in board units.
inline constexpr Int16 kFirstColumn = 2;      // x of the leftmost vertical line
inline constexpr Int16 kLastColumn = 11;      // x of the rightmost vertical line
inline constexpr Int16 kLastLeftColumn = 10;  // a rung's left column is 2..10
inline constexpr Int16 kLineTop = 10;         // the lines run from y = 10 ...
inline constexpr Int16 kLineBottom = 61;      // ... down to y = 61
inline constexpr Int16 kStartColumn = 4;      // every descent starts at the top of column 4
inline constexpr Int16 kEmptySlot = -99;      // the empty mark of a candidate slot
inline constexpr Int16 kFullBar = 20;         // tally squares per column

// The one record that the main window's handlers share. It starts zeroed; FormLoad() gives it
// its load values. Arrays are indexed 0..100; the rung arrays use 1..RungTotal only.
struct ExperimentState {
    using Array = std::array<Int16, 101>;

    Int16 RungNo = 0;        // rung being built, 1..RungTotal; RungTotal + 1 once complete
    Int16 CandCount = 0;     // candidate rungs found below the marker in this descent step
    Int16 MarkerColumn = 0;  // column of the marker, 2..11
    Int16 MarkerY = 0;       // height of the marker; 10 after a reset, -99 after an arrival
    Array CandDir{};         // direction of each candidate, -1 or +1; -99 when empty
    Array RungColumn{};      // left column of rung k, 2..10; 0 after a reset
    Array RungYEven{};       // height of rung k when its left column is even (odd, 11..59)
    Array RungYOdd{};        // height of rung k when its left column is odd (even, 12..60)
    Array CandY{};           // height of each candidate; -99 when empty
    std::array<Int16, 10> TallyByBar{};  // arrivals per column, 0..20; use Tally(column)
    Int16 Answer = 0;                    // last yes/no answer: 6 yes, 7 no
    Int16 RungTotal = 0;                 // rungs per ladder, 10..50 once entered; 0 before
    std::string RungText;                // text last returned by the rung-count prompt (UTF-8)

    // Arrival counter of `column`, 2..11 (bar o(column - 1)).
    Int16& Tally(int column) {
        return TallyByBar.at(static_cast<std::size_t>(column - kFirstColumn));
    }
    Int16 Tally(int column) const {
        return TallyByBar.at(static_cast<std::size_t>(column - kFirstColumn));
    }
};

// Form_Load: marker to (4, 10), RungNo 1, CandCount 0, all tallies 0. Draws and asks nothing.
void FormLoad(ExperimentState& state);

// Draws the ten vertical lines x = 2..11 from y = 10 to y = 61 in black, left to right,
// without clearing the board first.
void DrawLadderLines(LadderBoard& board);

// The reset at the start of a trial: marker back to (4, 10), RungNo 1, CandCount 0, the tallies
// to 0 when `clearTallies`, rung entries 1..RungTotal to 0 (the others and the candidate arrays
// are left alone), the board cleared with only the ten lines on it, and `label` emptied.
void ResetTrial(ExperimentState& state, bool clearTallies, LadderBoard& board,
                ProgressLabel& label);

}  // namespace hashigoro
