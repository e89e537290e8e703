// Fuzzes the WAV reader: whatever the bytes, it must not crash, and a sound it accepts must be
// one the sound output can play, also after conversion to the output's format.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sound = hashigoro::ReadWav(std::span(data, size));
    if (!sound) {
        return 0;
    }
    const bool playable = (sound->channels == 1 || sound->channels == 2) &&
                          sound->sampleRate >= 8000 && sound->sampleRate <= 192000 &&
                          sound->Frames() > 0 &&
                          sound->samples.size() % static_cast<std::size_t>(sound->channels) == 0;
    if (!playable) {
        std::abort();
    }
    const hashigoro::PcmSound out = hashigoro::ConvertPcm(*sound, 44100, 2);
    if (out.channels != 2 || out.sampleRate != 44100 || out.Frames() == 0) {
        std::abort();
    }
    return 0;
}
