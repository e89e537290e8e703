#pragma once

#include <QObject>
#include <QPointer>

#include "dialogs.h"
#include "help_window.h"
#include "main_window.h"

namespace hashigoro {

// Shows the two windows one at a time. Switching unloads the window that asked for it (deleted
// once its handler has returned) and builds the other one anew from its creation values.
class WindowSwitch final : public QObject {
    Q_OBJECT

  public:
    // `dialogs` stands in for the main windows' own Qt boxes when given; finished experiments
    // go to `results` when given.
    WindowSwitch(RandomSource& random, Clock& clock, SoundOutput& sound, ProgramEnd& programEnd,
                 Dialogs* dialogs = nullptr, ResultsLog* results = nullptr);

    void ShowMainWindow();
    void ShowHelpWindow();

    Form1* MainWindow() const { return main_; }
    Form2* HelpWindow() const { return help_; }

  private:
    RandomSource& random_;
    Clock& clock_;
    SoundOutput& sound_;
    ProgramEnd& programEnd_;
    Dialogs* dialogs_;
    ResultsLog* results_;
    QPointer<Form1> main_;
    QPointer<Form2> help_;
};

}  // namespace hashigoro
