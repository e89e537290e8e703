#pragma once

#include <string>
#include <vector>

#include "ladder_board.h"
#include "progress_label.h"

namespace hashigoro::testing {

// One operation on the board, as the logic asked for it.
struct BoardOp {
    enum class Kind { Clear, Line } kind = Kind::Line;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PaletteColour colour = PaletteColour::Black;

    bool operator==(const BoardOp&) const = default;
};

inline BoardOp ClearOp() {
    return BoardOp{BoardOp::Kind::Clear};
}
inline BoardOp LineOp(float x1, float y1, float x2, float y2, PaletteColour colour) {
    return BoardOp{BoardOp::Kind::Line, x1, y1, x2, y2, colour};
}

// Keeps every board operation in order.
class RecordingBoard final : public LadderBoard {
  public:
    void Clear() override { ops.push_back(ClearOp()); }
    void Line(float x1, float y1, float x2, float y2, PaletteColour colour) override {
        ops.push_back(LineOp(x1, y1, x2, y2, colour));
    }

    // The operations since the last Clear (everything that is on the board now).
    std::vector<BoardOp> Shown() const;

    std::vector<BoardOp> ops;
};

// Keeps the caption of Label1 and how often it was set.
class RecordingLabel final : public ProgressLabel {
  public:
    void SetCaption(const std::string& text) override {
        caption = text;
        ++sets;
    }

    std::string caption;
    int sets = 0;
};

// A board for long statistical runs: counts lines, keeps nothing.
class CountingBoard final : public LadderBoard {
  public:
    void Clear() override { ++clears; }
    void Line(float, float, float, float, PaletteColour) override { ++lines; }

    long long clears = 0;
    long long lines = 0;
};

// Renders a board operation for failure messages.
std::string Describe(const BoardOp& op);

}  // namespace hashigoro::testing
