#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hashigoro {

// A sound ready to play: 16-bit signed samples, interleaved by channel.
struct PcmSound {
    int sampleRate = 0;  // frames per second, 8000..192000
    int channels = 0;    // 1 or 2
    std::vector<std::int16_t> samples;

    std::size_t Frames() const { return channels == 0 ? 0 : samples.size() / channels; }
    bool operator==(const PcmSound&) const = default;
};

// Reads a RIFF/WAVE file held in memory: PCM at 8, 16, 24 or 32 bits, or IEEE float at 32 or 64
// bits (also in the extensible format), mono or stereo, 8000 to 192000 frames per second.
// Returns nothing for anything else: no header, a header cut short, a data chunk that runs past
// the end of the file, an unknown format, no sound at all, or a sound longer than 30 seconds
// (or of more than 64 MiB).
std::optional<PcmSound> ReadWav(std::span<const std::uint8_t> bytes);

// Reads the WAV file at `path`, as ReadWav would, but only its chunk headers and its sound:
// a sound that is too long is refused from its header, so even a huge file returns at once.
// Returns nothing, without blocking, for a missing file, a directory, a pipe or device, or
// whatever ReadWav refuses.
std::optional<PcmSound> LoadWavFile(const std::string& path);

// The same sound at another rate and channel count (linear interpolation; mono is copied to
// both channels, stereo averaged to mono). `sampleRate` 8000..192000, `channels` 1 or 2.
PcmSound ConvertPcm(const PcmSound& sound, int sampleRate, int channels);

}  // namespace hashigoro
