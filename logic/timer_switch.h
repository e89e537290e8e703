#pragma once

namespace hashigoro {

// The three timers of the main window: Timer1 builds the ladder (3 ms), Timer2 moves the
// marker (3 ms), Timer3 starts the next trial (5000 ms).
enum class Timer { Timer1 = 1, Timer2 = 2, Timer3 = 3 };

// Switches the main window's timers on and off. Switching a running timer on leaves it running
// on its beat; switching a stopped one off does nothing.
class TimerSwitch {
  public:
    virtual ~TimerSwitch() = default;
    virtual void SetTimerEnabled(Timer timer, bool enabled) = 0;
};

}  // namespace hashigoro
