#pragma once

#include <QLabel>

#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>
#include "announcer.h"

#include "experiment_controller.h"
#include "ladder_surface.h"
#include "mm_control.h"
#include "qt_dialogs.h"
#include "sound_output.h"

namespace hashigoro {

// What a main window is handed by whoever shows it; everything must outlive the window.
struct MainWindowServices {
    RandomSource& random;
    Clock& clock;
    SoundOutput& sound;
    ProgramEnd& programEnd;
    // Unloads this main window (later, not inside the call) and shows the help window.
    std::function<void()> openHelp;
    // The modal boxes; the window's own Qt boxes when null.
    Dialogs* dialogs = nullptr;
    // Where finished experiments are recorded; nowhere when null.
    ResultsLog* results = nullptr;
};

// Form1, the main window: a fixed client area of 658 x 569 pixels with the quit, help and
// initialise buttons on top, the ladder surface in the middle and the stop and start buttons
// below. The controller owns the experiment; this class is its hands: widgets, timers, geometry.
// Each window is shown once; its activation (first showing) asks for the rung count.
class Form1 final : public QWidget,
                    private ProgressLabel,
                    private TimerSwitch,
                    private MainWindowView,
                    private SoundCue {
    Q_OBJECT

  public:
    explicit Form1(const MainWindowServices& services);
    ~Form1() override;

    ExperimentController& Controller() { return *controller_; }
    LadderSurface* Picture1() const { return picture1_; }
    QPushButton* CommandButton(Button button) const;
    bool IsTimerEnabled(Timer timer) const;
    QTimer* TimerControl(Timer timer) const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // ProgressLabel
    void SetCaption(const std::string& text) override;
    // TimerSwitch
    void SetTimerEnabled(Timer timer, bool enabled) override;
    // MainWindowView
    void SetButtonEnabled(Button button, bool enabled) override;
    void SetTallySquareVisible(int bar, int index, bool visible) override;
    void ExperimentEnded(int bar) override;
    void SetMousePointer(MousePointer pointer) override;
    void ProcessPendingEvents() override;
    void SwitchToHelpWindow() override;
    // SoundCue
    void PlayCue(const std::string& fileName) override;

    // The ladder's description for a screen reader: its rungs, the start, the last arrival.
    void DescribeLadder(int arrivedAt);

    // The button or label called `name`, as the layout table makes it.
    QPushButton* MakeButton(std::string_view name);
    QLabel* MakeLabel(std::string_view name);

    MainWindowServices services_;
    QtDialogs ownDialogs_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QPushButton* command4_;
    QPushButton* command5_;
    QPushButton* command6_;
    QLabel* label1_;
    QLabel* label2_;
    LadderSurface* picture1_;
    MMControl* mmControl1_;
    Announcer* announcer_;
    QTimer timer1_;
    QTimer timer2_;
    QTimer timer3_;
    bool activated_ = false;
    int lastArrival_ = 0;  // the line the marker last arrived at; 0 on a new ladder
    std::unique_ptr<ExperimentController> controller_;
};

}  // namespace hashigoro
