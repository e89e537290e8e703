#pragma once

#include <string>

#include "fake_timers.h"
#include "fake_window.h"

namespace hashigoro::testing {

// The row of the button and timer table that a window is in: "enabled buttons|running timers",
// e.g. "136|" when ready and "5|13" while a ladder is being built.
inline std::string ButtonsAndTimers(const FakeView& view, const FakeTimers& timers) {
    std::string s;
    for (int b = 1; b <= 6; ++b) {
        if (view.IsEnabled(static_cast<Button>(b))) {
            s += static_cast<char>('0' + b);
        }
    }
    s += '|';
    for (int t = 1; t <= 3; ++t) {
        if (timers.IsOn(static_cast<Timer>(t))) {
            s += static_cast<char>('0' + t);
        }
    }
    return s;
}

}  // namespace hashigoro::testing
