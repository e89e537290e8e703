#include "chime_player.h"

namespace hashigoro::web {

void ChimePlayer::Arrived(const std::string& fileName, std::span<const std::uint8_t> bytes) {
    sounds_[fileName] = ReadWav(bytes);
}

void ChimePlayer::PlayCue(const std::string& fileName) {
    output_.Stop();
    const auto found = sounds_.find(fileName);
    if (found != sounds_.end() && found->second) {
        output_.Play(*found->second);
    }
}

}  // namespace hashigoro::web
