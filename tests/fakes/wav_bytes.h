#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace hashigoro::testing {

// Builds WAV files in memory, the plain way, for feeding the reader.
struct WavSpec {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 44100;
    std::uint16_t bits = 16;
    bool extensible = false;
};

inline void Append16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Append16(out, v & 0xFFFF);
    Append16(out, v >> 16);
}
inline void AppendTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}
// Byte by byte: GCC 12 warns wrongly about vector::insert of small ranges (stringop-overflow).
inline void AppendBytes(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t b : bytes) {
        out.push_back(b);
    }
}

inline std::vector<std::uint8_t> FmtChunk(const WavSpec& spec) {
    std::vector<std::uint8_t> out;
    AppendTag(out, "fmt ");
    Append32(out, spec.extensible ? 40 : 16);
    Append16(out, spec.extensible ? 0xFFFE : spec.formatTag);
    Append16(out, spec.channels);
    Append32(out, spec.sampleRate);
    Append32(out, spec.sampleRate * spec.channels * spec.bits / 8);
    Append16(out, spec.channels * spec.bits / 8);
    Append16(out, spec.bits);
    if (spec.extensible) {
        Append16(out, 22);
        Append16(out, spec.bits);
        Append32(out, spec.channels == 2 ? 3 : 4);
        Append16(out, spec.formatTag);  // sub-format GUID, first two bytes
        const std::uint8_t rest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                       0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        AppendBytes(out, std::vector<std::uint8_t>(rest, rest + 14));
    }
    return out;
}

inline std::vector<std::uint8_t> DataChunk(const std::vector<std::uint8_t>& payload,
                                           std::uint32_t declaredSize) {
    std::vector<std::uint8_t> out;
    AppendTag(out, "data");
    Append32(out, declaredSize);
    AppendBytes(out, payload);
    return out;
}

// RIFF header + the given chunks, in order.
inline std::vector<std::uint8_t> Riff(const std::vector<std::vector<std::uint8_t>>& chunks) {
    std::vector<std::uint8_t> body;
    AppendTag(body, "WAVE");
    for (const auto& chunk : chunks) {
        AppendBytes(body, chunk);
    }
    std::vector<std::uint8_t> out;
    AppendTag(out, "RIFF");
    Append32(out, static_cast<std::uint32_t>(body.size()));
    AppendBytes(out, body);
    return out;
}

// A whole file with `frames` frames of the given samples (raw little-endian bytes per sample).
inline std::vector<std::uint8_t> Wav(const WavSpec& spec,
                                     const std::vector<std::uint8_t>& payload) {
    return Riff({FmtChunk(spec), DataChunk(payload, static_cast<std::uint32_t>(payload.size()))});
}

}  // namespace hashigoro::testing
