#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace hashigoro {

// Our two chimes, made from their notes: the desktop's build writes them as WAV files, and the
// page makes them itself rather than carry the files.
//   pinpon.wav     a short two-tone chime, high then low (initialise and help)
//   endpinpon.wav  a slightly longer chime falling over three tones (quit)
// Each tone is a bell-like sum of a few harmonics with a soft attack and an exponential decay.

inline constexpr int kChimeRate = 44100;  // frames per second, mono

// The 16-bit samples of the chime named `fileName`; none for a name that is not ours.
std::vector<std::int16_t> SynthesizedChime(std::string_view fileName);

}  // namespace hashigoro
