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
// A chime is a cue, not music: anything longer is refused before its samples are read.
constexpr int kLongestSeconds = 30;
// 30 s at 192 kHz in stereo at 32 bits; only 64-bit float could need more.
constexpr std::size_t kLargestSound = 64u << 20;

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

// Where the bytes of a WAV come from: memory, or a file read piece by piece, so that no more
// than the headers and the sound itself is ever read.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies `count` bytes from `offset` into `out`; false if they are not all there.
    virtual bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) = 0;
};

class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) override {
        if (offset > bytes_.size() || count > bytes_.size() - offset) {
            return false;
        }
        std::memcpy(out, bytes_.data() + offset, count);
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

class FileSource final : public ByteSource {
  public:
    FileSource(const std::string& path, std::uint64_t size)
        : in_(path, std::ios::binary), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) override {
        in_.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(
            in_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count)));
    }

  private:
    std::ifstream in_;
    std::uint64_t size_;
};

std::optional<Format> ReadFormat(ByteSource& source, std::uint64_t at, std::uint32_t size) {
    std::uint8_t body[40] = {};
    if (size < 16 || !source.Read(at, std::min<std::size_t>(size, sizeof body), body)) {
        return std::nullopt;
    }
    Format f{U16(body), U16(body + 2), static_cast<int>(U32(body + 4)), U16(body + 12),
             U16(body + 14)};
    if (f.tag == kFormatExtensible) {
        // The real format is the first two bytes of the sub-format GUID.
        if (size < 40) {
            return std::nullopt;
        }
        f.tag = U16(body + 24);
    }
    return Supported(f) ? std::optional(f) : std::nullopt;
}

// Walks the chunks up to the sound. Its length is judged from the headers alone, before a
// single sample is read.
std::optional<PcmSound> ParseWav(ByteSource& source) {
    const std::uint64_t total = source.Size();
    std::uint8_t head[12];
    if (!source.Read(0, sizeof head, head) || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    std::optional<Format> format;
    std::uint64_t pos = 12;
    std::uint8_t chunk[8];
    while (pos + 8 <= total && source.Read(pos, sizeof chunk, chunk)) {
        const std::uint32_t size = U32(chunk + 4);
        const std::uint64_t bodyStart = pos + 8;
        if (size > total - bodyStart) {
            return std::nullopt;  // the file was cut short
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            format = ReadFormat(source, bodyStart, size);
            if (!format) {
                return std::nullopt;
            }
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) {
                return std::nullopt;
            }
            const std::size_t frames = size / format->blockAlign;
            if (frames == 0 || frames > std::size_t{kLongestSeconds} * format->sampleRate ||
                frames * format->blockAlign > kLargestSound) {
                return std::nullopt;
            }
            std::vector<std::uint8_t> data(frames * format->blockAlign);
            if (!source.Read(bodyStart, data.size(), data.data())) {
                return std::nullopt;
            }
            PcmSound sound{format->sampleRate, format->channels, {}};
            const int bytesPerSample = format->bits / 8;
            sound.samples.resize(frames * format->channels);
            for (std::size_t i = 0; i < sound.samples.size(); ++i) {
                sound.samples[i] = Sample(data.data() + i * bytesPerSample, *format);
            }
            return sound;
        }
        // Chunks are padded to an even length.
        pos = bodyStart + size + (size & 1u);
    }
    return std::nullopt;
}

}  // namespace

std::optional<PcmSound> ReadWav(std::span<const std::uint8_t> bytes) {
    MemorySource source(bytes);
    return ParseWav(source);
}

std::optional<PcmSound> LoadWavFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    // Only regular files are opened: reading a pipe named like a chime would never return.
    if (error || !std::filesystem::is_regular_file(status)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    FileSource source(path, size);
    return ParseWav(source);
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
