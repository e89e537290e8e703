#include "wav_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace hashigoro {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uintmax_t kLargestFile = 64u << 20;

std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

struct Format {
    std::uint16_t tag = 0;
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;
    int bits = 0;
};

std::int16_t FromFloat(double v) {
    if (!(v == v)) {  // NaN
        return 0;
    }
    return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
}

// One sample starting at `p`, as 16 bits.
std::int16_t Sample(const std::uint8_t* p, const Format& f) {
    if (f.tag == kFormatFloat) {
        if (f.bits == 32) {
            float v;
            std::memcpy(&v, p, sizeof v);
            return FromFloat(v);
        }
        double v;
        std::memcpy(&v, p, sizeof v);
        return FromFloat(v);
    }
    switch (f.bits) {
        case 8:
            return static_cast<std::int16_t>((p[0] - 128) * 256);
        case 16:
            return static_cast<std::int16_t>(U16(p));
        case 24:
            return static_cast<std::int16_t>(U16(p + 1));
        default:
            return static_cast<std::int16_t>(U16(p + 2));
    }
}

bool Supported(const Format& f) {
    const bool pcm =
        f.tag == kFormatPcm && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
    const bool flt = f.tag == kFormatFloat && (f.bits == 32 || f.bits == 64);
    return (pcm || flt) && (f.channels == 1 || f.channels == 2) && f.sampleRate >= 8000 &&
           f.sampleRate <= 192000 && f.blockAlign == f.channels * f.bits / 8;
}

}  // namespace

std::optional<PcmSound> ReadWav(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    std::optional<Format> format;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::uint8_t* chunk = bytes.data() + pos;
        const std::uint32_t size = U32(chunk + 4);
        const std::size_t bodyStart = pos + 8;
        const std::size_t available = bytes.size() - bodyStart;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > available) {
                return std::nullopt;
            }
            const std::uint8_t* body = chunk + 8;
            Format f{U16(body), U16(body + 2), static_cast<int>(U32(body + 4)), U16(body + 12),
                     U16(body + 14)};
            if (f.tag == kFormatExtensible) {
                // The real format is the first two bytes of the sub-format GUID.
                if (size < 40) {
                    return std::nullopt;
                }
                f.tag = U16(body + 24);
            }
            if (!Supported(f)) {
                return std::nullopt;
            }
            format = f;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format || size > available) {
                return std::nullopt;  // no format yet, or the file was cut short
            }
            const std::size_t frames = size / format->blockAlign;
            if (frames == 0) {
                return std::nullopt;
            }
            PcmSound sound{format->sampleRate, format->channels, {}};
            const int bytesPerSample = format->bits / 8;
            const std::size_t count = frames * format->channels;
            sound.samples.resize(count);
            for (std::size_t i = 0; i < count; ++i) {
                sound.samples[i] = Sample(chunk + 8 + i * bytesPerSample, *format);
            }
            return sound;
        }
        // Chunks are padded to an even length.
        const std::uint64_t next = static_cast<std::uint64_t>(bodyStart) + size + (size & 1u);
        if (next > bytes.size()) {
            return std::nullopt;
        }
        pos = static_cast<std::size_t>(next);
    }
    return std::nullopt;
}

std::optional<PcmSound> LoadWavFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    // Only regular files are opened: reading a pipe named like a chime would never return.
    if (error || !std::filesystem::is_regular_file(status)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLargestFile) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return std::nullopt;
    }
    return ReadWav(bytes);
}

PcmSound ConvertPcm(const PcmSound& sound, int sampleRate, int channels) {
    PcmSound out{sampleRate, channels, {}};
    const std::size_t inFrames = sound.Frames();
    if (inFrames == 0) {
        return out;
    }
    auto frameValue = [&](std::size_t frame, int channel) -> double {
        const std::size_t base = frame * sound.channels;
        if (sound.channels == channels) {
            return sound.samples[base + channel];
        }
        if (sound.channels == 1) {
            return sound.samples[base];
        }
        return (sound.samples[base] + sound.samples[base + 1]) / 2.0;
    };
    const double step = static_cast<double>(sound.sampleRate) / sampleRate;
    const auto outFrames = static_cast<std::size_t>(std::floor((inFrames - 1) / step)) + 1;
    out.samples.reserve(outFrames * channels);
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double at = i * step;
        const auto frame = std::min(static_cast<std::size_t>(at), inFrames - 1);
        const std::size_t nextFrame = std::min(frame + 1, inFrames - 1);
        const double t = at - static_cast<double>(frame);
        for (int c = 0; c < channels; ++c) {
            const double v = frameValue(frame, c) * (1 - t) + frameValue(nextFrame, c) * t;
            out.samples.push_back(static_cast<std::int16_t>(std::lround(v)));
        }
    }
    return out;
}

}  // namespace hashigoro
