// Writes the program's two chimes (chime_synthesis.h) as 16-bit mono PCM WAV files into the
// folder given.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "chime_synthesis.h"

namespace {

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
    Put32(out, hashigoro::kChimeRate);
    Put32(out, hashigoro::kChimeRate * 2);
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
    bool ok = true;
    for (const char* name : {"pinpon.wav", "endpinpon.wav"}) {
        ok = ok && WriteWav(folder + "/" + name, hashigoro::SynthesizedChime(name));
    }
    return ok ? 0 : 1;
}
