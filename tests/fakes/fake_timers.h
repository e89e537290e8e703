#pragma once

#include <array>

#include "timer_switch.h"

namespace hashigoro::testing {

// Remembers which timers are on.
class FakeTimers final : public TimerSwitch {
  public:
    void SetTimerEnabled(Timer timer, bool enabled) override {
        on[static_cast<int>(timer)] = enabled;
        ++switches;
    }
    bool IsOn(Timer timer) const { return on[static_cast<int>(timer)]; }

    std::array<bool, 4> on{};
    int switches = 0;
};

}  // namespace hashigoro::testing
