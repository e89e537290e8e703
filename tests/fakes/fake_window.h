#pragma once

#include <array>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialogs.h"
#include "main_window_view.h"
#include "sound_cue.h"

namespace hashigoro::testing {

// The main window's buttons, squares and pointer, as the controller left them. Starts with the
// creation values: every button enabled but initialise, no square shown.
class FakeView final : public MainWindowView {
  public:
    FakeView() { enabled[static_cast<int>(Button::Command4)] = false; }

    void SetButtonEnabled(Button button, bool on) override {
        enabled[static_cast<int>(button)] = on;
    }
    void SetTallySquareVisible(int bar, int index, bool visible) override {
        squares.at(bar - 1).at(index - 1) = visible;
        ++squareChanges;
    }
    void SetMousePointer(MousePointer p) override { pointers.push_back(p); }
    void ProcessPendingEvents() override { ++pendingEventRuns; }
    void SwitchToHelpWindow() override { ++helpSwitches; }
    void ExperimentEnded(int bar) override { endedBars.push_back(bar); }

    bool IsEnabled(Button button) const { return enabled[static_cast<int>(button)]; }
    int SquaresShown(int bar) const {
        int shown = 0;
        for (bool s : squares.at(bar - 1)) {
            shown += s ? 1 : 0;
        }
        return shown;
    }

    std::array<bool, 7> enabled{true, true, true, true, true, true, true};
    std::array<std::array<bool, 20>, 10> squares{};
    std::vector<MousePointer> pointers;
    int squareChanges = 0;
    int pendingEventRuns = 0;
    int helpSwitches = 0;
    std::vector<int> endedBars;  // the full bar of each end told
};

// One call made to the dialogs, for checking what was asked.
struct DialogCall {
    enum class Kind { Input, YesNo } kind;
    std::string text;
    std::string title;
    std::string defaultText;
};

// Answers the boxes from scripts, in order, and records every call.
class ScriptedDialogs final : public Dialogs {
  public:
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        calls.push_back({DialogCall::Kind::Input, prompt, title, defaultText});
        if (onInput) {
            onInput();
        }
        if (entries.empty()) {
            throw std::logic_error("the input box opened once more than scripted");
        }
        std::string entry = entries.front();
        entries.pop_front();
        return entry;
    }
    std::int16_t YesNoBox(const std::string& text, const std::string& title) override {
        calls.push_back({DialogCall::Kind::YesNo, text, title, {}});
        if (answers.empty()) {
            throw std::logic_error("the yes/no box opened once more than scripted");
        }
        const std::int16_t answer = answers.front();
        answers.pop_front();
        return answer;
    }

    int Count(DialogCall::Kind kind) const {
        int n = 0;
        for (const DialogCall& call : calls) {
            n += call.kind == kind ? 1 : 0;
        }
        return n;
    }

    std::deque<std::string> entries;
    std::deque<std::int16_t> answers;
    std::function<void()> onInput;  // runs while the input box is open
    std::vector<DialogCall> calls;
};

class FakeProgramEnd final : public ProgramEnd {
  public:
    void EndProgram() override { ++ends; }
    int ends = 0;
};

class RecordingCue final : public SoundCue {
  public:
    void PlayCue(const std::string& fileName) override { played.push_back(fileName); }
    std::vector<std::string> played;
};

}  // namespace hashigoro::testing
