#pragma once

#include <array>
#include <functional>
#include <optional>

#include "timer_switch.h"

namespace hashigoro::web {

// The main window's three timers for a page, where the browser's own timers fire 4 ms apart
// at best and not at all while the page is hidden. Each timer is due every interval from the
// moment it was switched on, on the experiment's clock (milliseconds); RunDue() runs every tick
// due by then, earliest first, each at its own time, so a trial still takes its ticks x 3 ms
// whenever the page gets to run them. A timer switched off during RunDue() ticks no more.
class TickScheduler final : public TimerSwitch {
  public:
    using TickHandler = std::function<void(Timer)>;

    // `intervalsMs` of Timer1, Timer2 and Timer3; `onTick` runs each tick.
    TickScheduler(const std::array<int, 3>& intervalsMs, TickHandler onTick);

    // The clock's reading for timers switched on outside RunDue() (a click, say).
    void SetNow(double nowMs) { now_ = nowMs; }

    // Switching a running timer on leaves it on its beat; switching a stopped one off does
    // nothing.
    void SetTimerEnabled(Timer timer, bool enabled) override;
    bool IsEnabled(Timer timer) const;

    // Runs the ticks due by `nowMs`. Ticks more than kLatestMs behind are not made up: the
    // timer goes on from `nowMs`, as a desktop's timer does after a stall.
    void RunDue(double nowMs);

    // When the next tick is due, or nothing while every timer is off.
    std::optional<double> NextDue() const;

    static constexpr double kLatestMs = 50;

  private:
    struct Entry {
        int intervalMs = 0;
        bool enabled = false;
        double due = 0;
    };
    std::array<Entry, 3> timers_;
    TickHandler onTick_;
    double now_ = 0;
};

}  // namespace hashigoro::web
