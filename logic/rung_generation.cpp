#include "rung_generation.h"

#include <cmath>

namespace hashigoro {

RungGeneration::RungGeneration(ExperimentState& state, LadderBoard& board, ProgressLabel& label,
                               RandomSource& random, Clock& clock, BuildEndListener& buildEnd)
    : state_(state),
      board_(board),
      label_(label),
      random_(random),
      clock_(clock),
      buildEnd_(buildEnd) {}

void RungGeneration::Timer1_Timer() {
    ExperimentState& s = state_;
    if (s.RungNo > s.RungTotal) {
        buildEnd_.LadderComplete();
        return;
    }
    label_.SetCaption(std::to_string(s.RungNo));
    random_.Reseed(clock_.SecondsSinceMidnight());

    // The products are taken in double precision. In single precision a value just below a
    // bin edge could round up into the next bin: 25 * 0.04f rounds to 1 and picks the second
    // height, where the value lies in the first (0.99999998 in double precision).
    const auto x = static_cast<Int16>(2 + std::floor(9.0 * static_cast<double>(random_.Next())));
    s.RungColumn[s.RungNo] = x;
    const auto h = static_cast<Int16>(std::floor(25.0 * static_cast<double>(random_.Next())));
    const bool even = x % 2 == 0;
    ExperimentState::Array& heights = even ? s.RungYEven : s.RungYOdd;
    const auto y = static_cast<Int16>(even ? 2 * h + 11 : 2 * h + 12);
    heights[s.RungNo] = y;

    // Only the array of the new rung's parity is compared: an earlier rung in the same column
    // has the same parity, so its height stands in that array.
    for (Int16 i = 1; i < s.RungNo; ++i) {
        if (heights[i] == y && s.RungColumn[i] == x) {
            return;
        }
    }
    board_.Line(x, y, static_cast<float>(x + 1), y, PaletteColour::Black);
    ++s.RungNo;
}

}  // namespace hashigoro
