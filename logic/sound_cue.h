#pragma once

#include <string>

namespace hashigoro {

// The two chimes, looked up by bare name in the current directory.
inline constexpr const char* kChimeFile = "pinpon.wav";        // initialise and help
inline constexpr const char* kEndChimeFile = "endpinpon.wav";  // quit

// Plays a sound cue: stops any cue still sounding, then plays `fileName` once. Returns at once,
// without waiting for the sound, and fails silently.
class SoundCue {
  public:
    virtual ~SoundCue() = default;
    virtual void PlayCue(const std::string& fileName) = 0;
};

}  // namespace hashigoro
