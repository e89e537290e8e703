#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "sound_cue.h"
#include "sound_output.h"
#include "wav_reader.h"

namespace hashigoro::web {

// The sound cues of the page: the two chimes, read from the files beside the page as they
// arrive, or made by the page itself where no file has come (opened from a file, it cannot read
// its folder). A cue stops the chime still sounding and plays its own; a file that is broken or
// longer than 30 seconds only silences its cue.
class ChimePlayer final : public SoundCue {
  public:
    explicit ChimePlayer(SoundOutput& output) : output_(output) {}

    // The bytes of the file `fileName` have arrived.
    void Arrived(const std::string& fileName, std::span<const std::uint8_t> bytes);

    void PlayCue(const std::string& fileName) override;

  private:
    SoundOutput& output_;
    std::map<std::string, std::optional<PcmSound>> sounds_;
};

}  // namespace hashigoro::web
