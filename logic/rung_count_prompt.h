#pragma once

#include "dialogs.h"
#include "experiment_state.h"

namespace hashigoro {

// The program's texts of the rung-count prompt and the quit confirmations (UTF-8).
inline constexpr const char* kRungPromptText = "10以上50以下の整数を入力してください．．．";
inline constexpr const char* kRungPromptTitle = " はしごろう横線本数の設定";
inline constexpr const char* kRungPromptDefault = "50";
inline constexpr const char* kQuitQuestion = "終了していいですか？";
inline constexpr const char* kPromptQuitTitle = "確認";
inline constexpr const char* kQuitButtonTitle = "はしごろう";

inline constexpr Int16 kMinRungs = 10;
inline constexpr Int16 kMaxRungs = 50;

// Asks for the rung count until an entry whose leading number lies in 10..50 is given, then
// stores its integer part in RungTotal. Other entries reopen the box silently; the empty text
// (or Cancel) asks whether to quit. Stores every entry in RungText and every answer in Answer.
// Returns true with RungTotal set, or false once the program has been ended on the user's Yes.
[[nodiscard]] bool RunRungCountPrompt(ExperimentState& state, Dialogs& dialogs, ProgramEnd& end);

}  // namespace hashigoro
