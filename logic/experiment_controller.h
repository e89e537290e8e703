#pragma once

#include <vector>

#include "dialogs.h"
#include "experiment_state.h"
#include "main_window_view.h"
#include "marker_descent.h"
#include "results_log.h"
#include "rung_generation.h"
#include "sound_cue.h"
#include "timer_switch.h"

namespace hashigoro {

// Everything outside the logic that the controller acts on; all must outlive it.
struct ControllerPorts {
    LadderBoard& board;
    ProgressLabel& label;
    TimerSwitch& timers;
    MainWindowView& view;
    SoundCue& cue;
    Dialogs& dialogs;
    ProgramEnd& programEnd;
    RandomSource& random;
    Clock& clock;
    // Where each finished experiment is recorded, once; nowhere when null.
    ResultsLog* results = nullptr;
};

// The state machine of the main window. It owns the window's experiment state, builds ladders
// and moves the marker through the timers, counts arrivals as tally squares and ends the
// experiment when an arrival finds its column's bar full.
//
// Which handler may run is decided only by the buttons and timers it enables:
//   ready    Command1, 3, 6 on;    all timers off
//   running  Command5 on;          Timer3 on, Timer1 while building, Timer2 while descending
//   stopped  Command1, 3, 4, 6 on; all timers off
//   ended    Command3, 4, 6 on;    all timers off
// Square i of bar o(c - 1) is shown exactly when i <= Tally(c).
class ExperimentController final : private BuildEndListener, private ArrivalListener {
  public:
    // Gives the state its load values (Form_Load); nothing is drawn or asked yet.
    explicit ExperimentController(const ControllerPorts& ports);

    ExperimentController(const ExperimentController&) = delete;
    ExperimentController& operator=(const ExperimentController&) = delete;

    const ExperimentState& State() const { return state_; }
    // The experiment in the tallies as it stands, `fullLine` 0 while it has not ended.
    FinishedExperiment Current(int fullLine) const;

    // Once per showing of the main window: paints, draws the ten lines, asks for the rung count,
    // then enables start and quit. Returns early if the user quits inside the prompt.
    void Form_Activate();

    void Command1_Click();  // start a trial (also every tick of Timer3)
    void Command2_Click();  // start the descent (run by the end of the build)
    void Command3_Click();  // quit, after a chime and a confirmation
    void Command4_Click();  // initialise: empty bars, new rung count
    void Command5_Click();  // stop, keeping the bars
    void Command6_Click();  // help: the main window goes, the help window comes
    void Timer1_Timer();    // one rung
    void Timer2_Timer();    // one descent step
    void Timer3_Timer();    // the next trial

    // The window is going away for good, perhaps unasked (a closed or discarded tab): the
    // experiment so far is recorded as 初期化 records it, unless it is already. True when it
    // was recorded now.
    bool RecordBeforeLeaving();
    // The window came back after all (a page restored from the browser's history): the record
    // made on leaving is taken back by the log's owner, and the experiment may be recorded again.
    void LeavingUndone() { recorded_ = false; }

  private:
    void LadderComplete() override;
    void Arrival(Int16 column) override;

    // Records the experiment in its tallies as over (`fullLine` 0: given up), once, and only
    // when it has had an arrival or has ended.
    void RecordExperiment(int fullLine);
    void Enable(Button button, bool enabled) { ports_.view.SetButtonEnabled(button, enabled); }
    void Switch(Timer timer, bool enabled) { ports_.timers.SetTimerEnabled(timer, enabled); }

    ControllerPorts ports_;
    ExperimentState state_;
    RungGeneration rungs_;
    MarkerDescent descent_;
    bool recorded_ = false;      // the experiment in the tallies is recorded already
    std::vector<int> arrivals_;  // the line of each square in the bars, in turn
};

}  // namespace hashigoro
