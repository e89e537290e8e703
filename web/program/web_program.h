#pragma once

#include <emscripten/val.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "chime_player.h"
#include "help_view.h"
#include "local_time_clock.h"
#include "main_view.h"
#include "mixing_random_source.h"
#include "odds_view.h"
#include "page_dialogs.h"
#include "page_events.h"
#include "page_results.h"
#include "pausable_clock.h"
#include "web_audio_output.h"

namespace hashigoro::web {

// はしごろう in a page: the main view and the help view shown one at a time, each made anew
// from the layout table when it comes, the chimes, the experiment's clock that stands still
// while the page is hidden, and the page's end after the user has confirmed quitting; and,
// from a button outside the window, the answer sheet over it.
class WebProgram final : private ProgramEnd {
  public:
    WebProgram();
    WebProgram(const WebProgram&) = delete;
    WebProgram& operator=(const WebProgram&) = delete;

    // Shows the main view and handles the page's events; never returns.
    [[noreturn]] void Run();

    // The bytes of a chime file have arrived.
    void ChimeArrived(const std::string& fileName, std::span<const std::uint8_t> bytes) {
        chimes_.Arrived(fileName, bytes);
    }

    // The page is hidden, perhaps for good (closed, reloaded, discarded), or came back from the
    // browser's history or from being frozen.
    void Leaving();
    void Back();

  private:
    // Ends the experiment (every timer off with its window) and shows that はしごろう has ended,
    // once the running handler has returned.
    void EndProgram() override;

    // The menu of languages beside the answer sheet's button, and a choice made there: every
    // text of the page said again at once, the experiment going on as it was.
    void MakeLanguageMenu();
    void SwitchLanguage(const std::string& code);
    void ShowMainView();
    void ShowHelpView();
    void ShowEnded();
    // One event of the program's loop, or one that a dialog passes on.
    void Handle(const PageEvent& event);
    // One event for the experiment's windows.
    void HandleExperiment(const PageEvent& event);
    void Rescale();
    // Asks for a wake-up when the next tick is due.
    void ScheduleWake();
    double Now() const;

    // The language chosen before the program ran, spoken from the first text made on.
    [[maybe_unused]] bool languageChosen_;
    PageEvents events_;
    PageDialogs dialogs_;
    WebAudioOutput audio_;
    ChimePlayer chimes_;
    MixingRandomSource random_;
    LocalTimeClock clock_;
    PausableClock experimentClock_;
    emscripten::val desktop_;
    // The finished experiments: the last one's line beside the window, all kept on the device.
    PageResults results_;
    std::unique_ptr<MainView> main_;
    std::unique_ptr<HelpView> help_;
    // The answer sheet over the experiment's window, made when first asked for.
    std::unique_ptr<OddsView> odds_;
    emscripten::val ended_;
    // The experiment was recorded when the page was left, and is taken back if it returns.
    bool recordedOnLeaving_ = false;
};

}  // namespace hashigoro::web
