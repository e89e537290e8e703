#pragma once

#include <cstdint>
#include <string>

namespace hashigoro {

// Answer codes of the yes/no box.
inline constexpr std::int16_t kAnswerYes = 6;
inline constexpr std::int16_t kAnswerNo = 7;

// The modal boxes of the main window. Both return only when the user has answered; texts are
// UTF-8.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Input box with OK and Cancel, its entry pre-filled with `defaultText`. Returns the entry
    // for OK and the empty text for Cancel.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;

    // Yes/no box without icon, Yes the default; there is no way out but the two buttons.
    // Returns kAnswerYes or kAnswerNo.
    virtual std::int16_t YesNoBox(const std::string& text, const std::string& title) = 0;
};

// Ends the program with status 0. No handler of any window runs after it: the caller returns
// at once without touching anything else.
class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    virtual void EndProgram() = 0;
};

}  // namespace hashigoro
