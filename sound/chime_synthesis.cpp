#include "chime_synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace hashigoro {

namespace {

struct Note {
    double start;      // seconds
    double frequency;  // hertz
    double length;     // seconds until it is silent
};

std::vector<std::int16_t> Render(const std::vector<Note>& notes, double seconds) {
    std::vector<double> mix(static_cast<std::size_t>(seconds * kChimeRate), 0.0);
    for (const Note& note : notes) {
        const auto first = static_cast<std::size_t>(note.start * kChimeRate);
        const auto count = static_cast<std::size_t>(note.length * kChimeRate);
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kChimeRate;
            const double attack = std::min(1.0, t / 0.006);
            const double decay = std::exp(-t / (note.length / 4));
            const double fade = std::min(1.0, (note.length - t) / 0.02);  // no click at the end
            const double w = 2 * std::numbers::pi * note.frequency * t;
            const double tone = std::sin(w) + 0.3 * std::sin(2 * w) * std::exp(-t / 0.08) +
                                0.12 * std::sin(3 * w) * std::exp(-t / 0.05);
            mix[first + i] += 0.42 * attack * decay * fade * tone;
        }
    }
    std::vector<std::int16_t> samples(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i], -1.0, 1.0) * 32767));
    }
    return samples;
}

}  // namespace

std::vector<std::int16_t> SynthesizedChime(std::string_view fileName) {
    if (fileName == "pinpon.wav") {
        return Render({{0.0, 1318.5, 0.55}, {0.30, 1046.5, 0.75}}, 1.05);
    }
    if (fileName == "endpinpon.wav") {
        return Render({{0.0, 1568.0, 0.5}, {0.32, 1318.5, 0.55}, {0.64, 1046.5, 0.95}}, 1.6);
    }
    return {};
}

}  // namespace hashigoro
