#pragma once

#include <emscripten/val.h>

#include "sound_output.h"

namespace hashigoro::web {

// Plays chimes through the page's Web Audio, in the one audio context that a gesture of the
// person makes, awake only while a chime sounds. Both calls return at once and fail silently.
class WebAudioOutput final : public SoundOutput {
  public:
    WebAudioOutput();

    void Stop() override;
    void Play(const PcmSound& sound) override;

  private:
    emscripten::val source_;
};

}  // namespace hashigoro::web
