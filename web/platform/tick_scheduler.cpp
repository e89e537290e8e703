#include "tick_scheduler.h"

#include <utility>

namespace hashigoro::web {

namespace {

std::size_t Index(Timer timer) {
    return static_cast<std::size_t>(timer) - 1;
}

}  // namespace

TickScheduler::TickScheduler(const std::array<int, 3>& intervalsMs, TickHandler onTick)
    : onTick_(std::move(onTick)) {
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        timers_[i].intervalMs = intervalsMs[i];
    }
}

void TickScheduler::SetTimerEnabled(Timer timer, bool enabled) {
    Entry& entry = timers_[Index(timer)];
    if (enabled && !entry.enabled) {
        entry.due = now_ + entry.intervalMs;
    }
    entry.enabled = enabled;
}

bool TickScheduler::IsEnabled(Timer timer) const {
    return timers_[Index(timer)].enabled;
}

std::optional<double> TickScheduler::NextDue() const {
    std::optional<double> next;
    for (const Entry& entry : timers_) {
        if (entry.enabled && (!next || entry.due < *next)) {
            next = entry.due;
        }
    }
    return next;
}

void TickScheduler::RunDue(double nowMs) {
    for (std::optional<double> next = NextDue(); next && *next <= nowMs; next = NextDue()) {
        // The earliest due timer; on a tie the lower number, as the desktop made them.
        std::size_t earliest = timers_.size();
        for (std::size_t i = 0; i < timers_.size(); ++i) {
            if (timers_[i].enabled &&
                (earliest == timers_.size() || timers_[i].due < timers_[earliest].due)) {
                earliest = i;
            }
        }
        Entry& entry = timers_[earliest];
        // Far behind: go on from now rather than make up a burst of ticks.
        now_ = nowMs - entry.due > kLatestMs ? nowMs : entry.due;
        entry.due = now_ + entry.intervalMs;
        onTick_(static_cast<Timer>(earliest + 1));
    }
    now_ = nowMs;
}

}  // namespace hashigoro::web
