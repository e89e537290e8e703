#include "local_time_clock.h"

#include <chrono>
#include <ctime>

namespace hashigoro {

float LocalTimeClock::SecondsSinceMidnight() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto sinceWholeSecond = now - std::chrono::system_clock::from_time_t(seconds);
    const double fraction = std::chrono::duration<double>(sinceWholeSecond).count();
    const double sinceMidnight = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return static_cast<float>(sinceMidnight + fraction);
}

}  // namespace hashigoro
