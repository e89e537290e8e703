#include "rung_count_prompt.h"

#include <cmath>

#include "leading_number.h"

namespace hashigoro {

bool RunRungCountPrompt(ExperimentState& state, Dialogs& dialogs, ProgramEnd& end) {
    for (;;) {
        state.RungText = dialogs.InputBox(kRungPromptText, kRungPromptTitle, kRungPromptDefault);
        if (state.RungText.empty()) {
            state.Answer = dialogs.YesNoBox(kQuitQuestion, kPromptQuitTitle);
            if (state.Answer == kAnswerYes) {
                end.EndProgram();
                return false;
            }
            continue;
        }
        const double value = LeadingNumberValue(state.RungText);
        if (value >= kMinRungs && value <= kMaxRungs) {
            state.RungTotal = static_cast<Int16>(std::floor(value));
            return true;
        }
    }
}

}  // namespace hashigoro
