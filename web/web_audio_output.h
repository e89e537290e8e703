#pragma once

#include <emscripten/val.h>

#include "sound_output.h"

namespace hashigoro::web {

// Plays chimes through the page's Web Audio. The audio context is made at the first chime,
// which always follows a click, as browsers ask. Both calls return at once and fail silently.
class WebAudioOutput final : public SoundOutput {
  public:
    WebAudioOutput();

    void Stop() override;
    void Play(const PcmSound& sound) override;

  private:
    emscripten::val context_;
    emscripten::val source_;
};

}  // namespace hashigoro::web
