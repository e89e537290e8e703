#pragma once

#include <string>
#include <vector>

#include "sound_output.h"

namespace hashigoro::testing {

// Keeps what the sound output was asked to do: "Stop", or "Play" with the sound.
class RecordingSoundOutput final : public SoundOutput {
  public:
    void Stop() override { log.push_back("Stop"); }
    void Play(const PcmSound& sound) override {
        log.push_back("Play");
        played.push_back(sound);
    }

    std::vector<std::string> log;
    std::vector<PcmSound> played;
};

}  // namespace hashigoro::testing
