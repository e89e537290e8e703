#pragma once

#include "dialogs.h"
#include "experiment_state.h"

namespace hashigoro {

// The entry the rung-count prompt opens with.
inline constexpr const char* kRungPromptDefault = "50";

inline constexpr Int16 kMinRungs = 10;
inline constexpr Int16 kMaxRungs = 50;

// Asks for the rung count until an entry whose leading number lies in 10..50 is given, then
// stores its integer part in RungTotal. Other entries reopen the box silently; the empty text
// (or Cancel) asks whether to quit. Stores every entry in RungText and every answer in Answer.
// Returns true with RungTotal set, or false once the program has been ended on the user's Yes.
[[nodiscard]] bool RunRungCountPrompt(ExperimentState& state, Dialogs& dialogs, ProgramEnd& end);

}  // namespace hashigoro
