#pragma once

#include <deque>
#include <stdexcept>
#include <vector>

#include "random_source.h"

namespace hashigoro::testing {

// Hands out scripted values in order and remembers every re-seed.
class ScriptedRandom final : public RandomSource {
  public:
    void Reseed(float seed) override { seeds.push_back(seed); }
    float Next() override {
        if (values.empty()) {
            throw std::logic_error("ScriptedRandom ran out of values");
        }
        const float r = values.front();
        values.pop_front();
        return r;
    }

    // Queues the two values that pick the rung (column, height): column 2..10, height 11..60 of
    // the column's parity.
    void QueueRung(int column, int height) {
        const int h = column % 2 == 0 ? (height - 11) / 2 : (height - 12) / 2;
        values.push_back((static_cast<float>(column - 2) + 0.5f) / 9.0f);
        values.push_back((static_cast<float>(h) + 0.5f) / 25.0f);
    }

    std::deque<float> values;
    std::vector<float> seeds;
};

// A clock that reads `now` and moves on by `step` seconds at every reading.
class SteppingClock final : public Clock {
  public:
    explicit SteppingClock(float start = 36000.0f, double step = 0.0) : now(start), step(step) {}
    float SecondsSinceMidnight() override {
        const float reading = static_cast<float>(now);
        now += step;
        ++readings;
        return reading;
    }

    double now;
    double step;
    int readings = 0;
};

}  // namespace hashigoro::testing
