#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>

#include "dialogs.h"
#include "help_surface.h"

namespace hashigoro {

// Form2, the help window: 617 x 297 pixels with the close button "閉じる", a rule and the white
// help surface, on which every activation prints the help text afresh.
class Form2 final : public QWidget {
    Q_OBJECT

  public:
    // `closeHelp` unloads this window (later, not inside the call) and shows a new main window;
    // the window's own close box ends the program through `programEnd` instead.
    Form2(std::function<void()> closeHelp, ProgramEnd& programEnd);

    HelpSurface* Picture1() const { return picture1_; }
    QPushButton* Command1() const { return command1_; }

    // Clears the help surface and prints the twelve lines of the help text.
    void Form_Activate();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<void()> closeHelp_;
    ProgramEnd& programEnd_;
    QPushButton* command1_;
    HelpSurface* picture1_;
    bool closing_ = false;
};

}  // namespace hashigoro
