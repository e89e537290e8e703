#include "experiment_controller.h"

#include "catalogue.h"
#include "rung_count_prompt.h"

namespace hashigoro {

ExperimentController::ExperimentController(const ControllerPorts& ports)
    : ports_(ports),
      rungs_(state_, ports.board, ports.label, ports.random, ports.clock, *this),
      descent_(state_, ports.board, ports.timers, *this) {
    FormLoad(state_);
}

void ExperimentController::Form_Activate() {
    ports_.view.ProcessPendingEvents();
    Enable(Button::Command1, false);
    Enable(Button::Command2, false);
    Enable(Button::Command3, false);
    Enable(Button::Command5, false);
    DrawLadderLines(ports_.board);
    if (!RunRungCountPrompt(state_, ports_.dialogs, ports_.programEnd)) {
        return;
    }
    Enable(Button::Command1, true);
    Enable(Button::Command3, true);
}

void ExperimentController::Command1_Click() {
    Switch(Timer::Timer3, true);
    // A descent still under way when the next trial starts would go on over the ladder being
    // rebuilt and count an arrival that no finished ladder produced, so it ends here.
    Switch(Timer::Timer2, false);
    Enable(Button::Command1, false);
    Enable(Button::Command3, false);
    Enable(Button::Command4, false);
    Enable(Button::Command5, true);
    Enable(Button::Command6, false);
    ResetTrial(state_, false, ports_.board, ports_.label);
    Switch(Timer::Timer1, true);
}

void ExperimentController::LadderComplete() {
    Enable(Button::Command2, true);
    Switch(Timer::Timer1, false);
    Command2_Click();
}

void ExperimentController::Command2_Click() {
    Enable(Button::Command2, false);
    Switch(Timer::Timer2, true);
}

void ExperimentController::Command3_Click() {
    ports_.cue.PlayCue(kEndChimeFile);
    state_.Answer = ports_.dialogs.YesNoBox(std::string(texts::Text(TextId::QuitQuestion)),
                                            std::string(texts::Text(TextId::QuitBoxTitle)));
    if (state_.Answer == kAnswerYes) {
        RecordExperiment(0);
        ports_.programEnd.EndProgram();
    }
}

void ExperimentController::Command4_Click() {
    ports_.view.SetMousePointer(MousePointer::Hourglass);
    Enable(Button::Command1, false);
    Enable(Button::Command4, false);
    ports_.cue.PlayCue(kChimeFile);
    RecordExperiment(0);
    for (int index = 1; index <= kFullBar; ++index) {
        for (int bar = 1; bar <= 10; ++bar) {
            ports_.view.SetTallySquareVisible(bar, index, false);
        }
    }
    ResetTrial(state_, true, ports_.board, ports_.label);
    recorded_ = false;  // empty bars: a new experiment
    arrivals_.clear();
    ports_.view.SetMousePointer(MousePointer::Arrow);
    if (!RunRungCountPrompt(state_, ports_.dialogs, ports_.programEnd)) {
        return;
    }
    Enable(Button::Command1, true);
}

void ExperimentController::Command5_Click() {
    Switch(Timer::Timer1, false);
    Switch(Timer::Timer2, false);
    Switch(Timer::Timer3, false);
    Enable(Button::Command1, true);
    Enable(Button::Command3, true);
    Enable(Button::Command4, true);
    Enable(Button::Command5, false);
    Enable(Button::Command6, true);
    const FinishedExperiment sofar = Current(0);
    int arrivals = 0;
    for (int tally : sofar.tallies) {
        arrivals += tally;
    }
    if (ports_.results && arrivals > 0) {
        ports_.results->Stopped(sofar);
    }
}

void ExperimentController::Command6_Click() {
    ports_.cue.PlayCue(kChimeFile);
    RecordExperiment(0);
    ports_.view.SwitchToHelpWindow();
}

bool ExperimentController::RecordBeforeLeaving() {
    const bool before = recorded_;
    RecordExperiment(0);
    return recorded_ && !before;
}

void ExperimentController::Timer1_Timer() {
    rungs_.Timer1_Timer();
}

void ExperimentController::Timer2_Timer() {
    descent_.Timer2_Timer();
}

void ExperimentController::Timer3_Timer() {
    Command1_Click();
}

void ExperimentController::Arrival(Int16 column) {
    if (column < kFirstColumn || column > kLastColumn) {
        return;
    }
    Int16& tally = state_.Tally(column);
    if (tally < kFullBar) {
        ++tally;
        arrivals_.push_back(column - 1);
        ports_.view.SetTallySquareVisible(column - 1, tally, true);
        if (ports_.results) {
            ports_.results->Arrived(Current(0));
        }
        return;
    }
    Enable(Button::Command3, true);
    Enable(Button::Command4, true);
    Enable(Button::Command5, false);
    Enable(Button::Command6, true);
    Switch(Timer::Timer1, false);
    Switch(Timer::Timer2, false);
    Switch(Timer::Timer3, false);
    RecordExperiment(column - 1);
    ports_.view.ExperimentEnded(column - 1);
}

FinishedExperiment ExperimentController::Current(int fullLine) const {
    FinishedExperiment experiment{state_.RungTotal, {}, fullLine, arrivals_};
    for (int line = 1; line <= 10; ++line) {
        experiment.tallies[static_cast<std::size_t>(line - 1)] = state_.Tally(line + 1);
    }
    return experiment;
}

void ExperimentController::RecordExperiment(int fullLine) {
    const FinishedExperiment experiment = Current(fullLine);
    int arrivals = 0;
    for (int tally : experiment.tallies) {
        arrivals += tally;
    }
    if (!ports_.results || recorded_ || (arrivals == 0 && fullLine == 0)) {
        return;
    }
    recorded_ = true;
    ports_.results->Record(experiment);
}

}  // namespace hashigoro
