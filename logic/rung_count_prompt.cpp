#include "rung_count_prompt.h"

#include <cmath>

#include "catalogue.h"
#include "leading_number.h"

namespace hashigoro {

bool RunRungCountPrompt(ExperimentState& state, Dialogs& dialogs, ProgramEnd& end) {
    for (;;) {
        // Read at every opening: the page's language may change while the box is closed.
        state.RungText =
            dialogs.InputBox(std::string(texts::Text(TextId::PromptText)),
                             std::string(texts::Text(TextId::PromptTitle)), kRungPromptDefault);
        if (state.RungText.empty()) {
            state.Answer = dialogs.YesNoBox(std::string(texts::Text(TextId::QuitQuestion)),
                                            std::string(texts::Text(TextId::PromptQuitTitle)));
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
