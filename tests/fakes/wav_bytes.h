#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace hashigoro::testing {

// Builds WAV files in memory, the plain way, for feeding the reader.
struct WavFormat {
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

inline std::vector<std::uint8_t> FmtChunk(const WavFormat& format) {
    std::vector<std::uint8_t> out;
    AppendTag(out, "fmt ");
    Append32(out, format.extensible ? 40 : 16);
    Append16(out, format.extensible ? 0xFFFE : format.formatTag);
    Append16(out, format.channels);
    Append32(out, format.sampleRate);
    Append32(out, format.sampleRate * format.channels * format.bits / 8);
    Append16(out, format.channels * format.bits / 8);
    Append16(out, format.bits);
    if (format.extensible) {
        Append16(out, 22);
        Append16(out, format.bits);
        Append32(out, format.channels == 2 ? 3 : 4);
        Append16(out, format.formatTag);  // sub-format GUID, first two bytes
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
inline std::vector<std::uint8_t> Wav(const WavFormat& format,
                                     const std::vector<std::uint8_t>& payload) {
    return Riff({FmtChunk(format), DataChunk(payload, static_cast<std::uint32_t>(payload.size()))});
}

}  // namespace hashigoro::testing
