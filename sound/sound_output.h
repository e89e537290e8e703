#pragma once

#include "wav_reader.h"

namespace hashigoro {

// Where the chimes sound. Both calls return at once and never report a failure.
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;

    // Silences whatever is playing.
    virtual void Stop() = 0;

    // Starts `sound` from its beginning, in place of anything playing.
    virtual void Play(const PcmSound& sound) = 0;
};

}  // namespace hashigoro
