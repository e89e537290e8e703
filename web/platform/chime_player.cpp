#include "chime_player.h"

#include <utility>
#include <vector>

#include "chime_synthesis.h"

namespace hashigoro::web {

void ChimePlayer::Arrived(const std::string& fileName, std::span<const std::uint8_t> bytes) {
    sounds_[fileName] = ReadWav(bytes);
}

void ChimePlayer::PlayCue(const std::string& fileName) {
    output_.Stop();
    auto found = sounds_.find(fileName);
    if (found == sounds_.end()) {
        // No file has come: our own chime, made the first time it is asked for.
        std::vector<std::int16_t> samples = SynthesizedChime(fileName);
        std::optional<PcmSound> made;
        if (!samples.empty()) {
            made = PcmSound{kChimeRate, 1, std::move(samples)};
        }
        found = sounds_.emplace(fileName, std::move(made)).first;
    }
    if (found != sounds_.end() && found->second) {
        output_.Play(*found->second);
    }
}

}  // namespace hashigoro::web
