#pragma once

#include <emscripten/val.h>

#include <functional>
#include <memory>
#include <string>

#include "canvas_board.h"
#include "experiment_controller.h"
#include "page_events.h"
#include "tick_scheduler.h"

namespace hashigoro::web {

// What a main view is handed by the program; everything must outlive the view.
struct MainViewServices {
    PageEvents& events;
    RandomSource& random;
    Clock& clock;
    SoundCue& cue;
    Dialogs& dialogs;
    ProgramEnd& programEnd;
    // Asks for the help view in place of this one, once the running handler has returned.
    std::function<void()> openHelp;
    // Where finished experiments go; nowhere when null.
    ResultsLog* results = nullptr;
};

// Form1 in the page: the window built from the layout table inside `container`, the ladder
// on a canvas, the tally squares, the six buttons and the three timers. The controller owns the
// experiment; this class is its hands in the page.
class MainView final : private ProgressLabel, private MainWindowView {
  public:
    MainView(emscripten::val container, const MainViewServices& services);
    ~MainView() override;
    MainView(const MainView&) = delete;
    MainView& operator=(const MainView&) = delete;

    // The window's first showing: lines, then the rung-count prompt.
    void Activate() {
        controller_->Form_Activate();
        FocusNextAction();
    }

    // A click on the control `id`; false when it is none of this window's buttons.
    bool Click(const std::string& id);

    // Runs the ticks due by `nowMs` on the experiment's clock.
    void RunDueTicks(double nowMs) { timers_.RunDue(nowMs); }
    void SetNow(double nowMs) { timers_.SetNow(nowMs); }
    // When the next tick is due, if any timer runs.
    std::optional<double> NextDue() const { return timers_.NextDue(); }

    // Makes the two hundred tally squares, hidden, unless they are made already. The view asks
    // for it once its first frame is painted; a square needed before then makes them at once.
    void MakeTallySquares();

    // The page is going away: the experiment so far is recorded, as 初期化 records it, unless it
    // is already; true when it was recorded now. LeavingUndone() when the page came back.
    bool RecordBeforeLeaving() { return controller_->RecordBeforeLeaving(); }
    void LeavingUndone() { controller_->LeavingUndone(); }

    void SetScale(double scale, double devicePixelRatio) {
        board_->SetScale(scale, devicePixelRatio);
    }

  private:
    // Puts the focus on the button of what a person does next (stop while the trials run, else
    // start), so that a keyboard never falls back to the page's start after a button it pressed
    // became disabled or a box closed.
    void FocusNextAction();
    // ProgressLabel
    void SetCaption(const std::string& text) override;
    // MainWindowView
    void SetButtonEnabled(Button button, bool enabled) override;
    void SetTallySquareVisible(int bar, int index, bool visible) override;
    void ExperimentEnded(int bar) override;
    void SetMousePointer(MousePointer pointer) override;
    void ProcessPendingEvents() override {}  // the page paints whenever the program waits
    void SwitchToHelpWindow() override;

    void Tick(Timer timer);

    emscripten::val window_;
    emscripten::val announcer_;
    MainViewServices services_;
    std::unique_ptr<CanvasBoard> board_;
    TickScheduler timers_;
    std::unique_ptr<ExperimentController> controller_;
    bool squaresMade_ = false;
};

}  // namespace hashigoro::web
