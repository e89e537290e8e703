#pragma once

#include <cstdint>

namespace hashigoro {

// Colours of the classic 16-colour palette that the ladder is drawn in.
enum class PaletteColour : std::int16_t {
    Black = 0,      // vertical lines and rungs, (0, 0, 0)
    LightRed = 12,  // the marker's path, (255, 0, 0)
};

// The drawing surface of the ladder, addressed in board units: x from 0 to 13 to the right,
// y from 0 to 100 downward. The ten vertical lines stand at x = 2..11 from y = 10 to y = 61.
// What is drawn stays until the next Clear().
class LadderBoard {
  public:
    virtual ~LadderBoard() = default;

    // Erases every line drawn so far; child controls above the drawing are not touched.
    virtual void Clear() = 0;

    // Draws a straight one-pixel line from (x1, y1) to (x2, y2), in board units.
    virtual void Line(float x1, float y1, float x2, float y2, PaletteColour colour) = 0;
};

}  // namespace hashigoro
