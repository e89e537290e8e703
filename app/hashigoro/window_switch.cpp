#include "window_switch.h"

namespace hashigoro {

WindowSwitch::WindowSwitch(RandomSource& random, Clock& clock, SoundOutput& sound,
                           ProgramEnd& programEnd, Dialogs* dialogs, ResultsLog* results)
    : random_(random),
      clock_(clock),
      sound_(sound),
      programEnd_(programEnd),
      dialogs_(dialogs),
      results_(results) {}

void WindowSwitch::ShowMainWindow() {
    if (help_) {
        help_->hide();
        help_->deleteLater();
    }
    main_ = new Form1(MainWindowServices{random_, clock_, sound_, programEnd_,
                                         [this] { ShowHelpWindow(); }, dialogs_, results_});
    main_->show();
}

void WindowSwitch::ShowHelpWindow() {
    if (main_) {
        main_->hide();
        main_->deleteLater();
    }
    help_ = new Form2([this] { ShowMainWindow(); }, programEnd_);
    help_->show();
}

}  // namespace hashigoro
