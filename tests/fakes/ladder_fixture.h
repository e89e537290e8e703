#pragma once

#include <initializer_list>
#include <utility>

#include "experiment_state.h"

namespace hashigoro::testing {

// Lays a finished ladder into `state` directly: rung k + 1 is rungs[k] = (left column, height),
// the height stored in the array of the column's parity. The marker is put to (4, 10).
inline void LayLadder(ExperimentState& state, std::initializer_list<std::pair<int, int>> rungs) {
    FormLoad(state);
    Int16 k = 0;
    for (const auto& [column, height] : rungs) {
        ++k;
        state.RungColumn[k] = static_cast<Int16>(column);
        (column % 2 == 0 ? state.RungYEven : state.RungYOdd)[k] = static_cast<Int16>(height);
    }
    state.RungTotal = k;
    state.RungNo = static_cast<Int16>(k + 1);
}

}  // namespace hashigoro::testing
