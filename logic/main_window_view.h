#pragma once

namespace hashigoro {

// The six command buttons of the main window.
enum class Button {
    Command1 = 1,  // start
    Command2 = 2,  // descent start, never visible
    Command3 = 3,  // quit
    Command4 = 4,  // initialise
    Command5 = 5,  // stop
    Command6 = 6,  // help
};

// Mouse pointer values of the main window.
enum class MousePointer { Arrow = 1, Hourglass = 11 };

// What the controller changes on the main window besides the board, Label1 and the timers.
class MainWindowView {
  public:
    virtual ~MainWindowView() = default;

    virtual void SetButtonEnabled(Button button, bool enabled) = 0;

    // Shows or hides square `index` (1..20, 1 the lowest) of tally array o`bar` (1..10), the
    // bar of column bar + 1.
    virtual void SetTallySquareVisible(int bar, int index, bool visible) = 0;

    virtual void SetMousePointer(MousePointer pointer) = 0;

    // The experiment has ended: an arrival found the bar o`bar` (1..10) already full. A window
    // that tells it in words (to a screen reader) does so here; the bars already show it.
    virtual void ExperimentEnded(int /*bar*/) {}

    // Lets the window system handle the events waiting now (the window paints itself).
    virtual void ProcessPendingEvents() = 0;

    // Unloads the main window with everything in it and shows the help window in its place.
    // Nothing of the main window may be touched after this call.
    virtual void SwitchToHelpWindow() = 0;
};

}  // namespace hashigoro
