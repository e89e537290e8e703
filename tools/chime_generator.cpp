// Writes the program's two chimes as 16-bit mono PCM WAV files into the folder given:
//   pinpon.wav     a short two-tone chime, high then low (initialise and help)
//   endpinpon.wav  a slightly longer chime falling over three tones (quit)
// Each tone is a bell-like sum of a few harmonics with a soft attack and an exponential decay.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Note {
    double start;      // seconds
    double frequency;  // hertz
    double length;     // seconds until it is silent
};

std::vector<std::int16_t> Render(const std::vector<Note>& notes, double seconds) {
    std::vector<double> mix(static_cast<std::size_t>(seconds * kRate), 0.0);
    for (const Note& note : notes) {
        const auto first = static_cast<std::size_t>(note.start * kRate);
        const auto count = static_cast<std::size_t>(note.length * kRate);
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
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

void Put32(std::ofstream& out, std::uint32_t v) {
    const char bytes[] = {static_cast<char>(v), static_cast<char>(v >> 8),
                          static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    out.write(bytes, 4);
}

void Put16(std::ofstream& out, std::uint16_t v) {
    const char bytes[] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    for (std::int16_t s : samples) {
        Put16(out, static_cast<std::uint16_t>(s));
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chime_generator OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok =
        WriteWav(folder + "/pinpon.wav",
                 Render({{0.0, 1318.5, 0.55}, {0.30, 1046.5, 0.75}}, 1.05)) &&
        WriteWav(folder + "/endpinpon.wav",
                 Render({{0.0, 1568.0, 0.5}, {0.32, 1318.5, 0.55}, {0.64, 1046.5, 0.95}}, 1.6));
    return ok ? 0 : 1;
}
