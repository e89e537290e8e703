#pragma once

#include "random_source.h"

namespace hashigoro {

// The time of day from the system clock, in the local time zone.
class LocalTimeClock final : public Clock {
  public:
    float SecondsSinceMidnight() override;
};

}  // namespace hashigoro
