#include "recording_board.h"

#include <algorithm>
#include <sstream>

namespace hashigoro::testing {

std::vector<BoardOp> RecordingBoard::Shown() const {
    const auto lastClear = std::find(ops.rbegin(), ops.rend(), ClearOp());
    return std::vector<BoardOp>(lastClear.base(), ops.end());
}

std::string Describe(const BoardOp& op) {
    if (op.kind == BoardOp::Kind::Clear) {
        return "Clear";
    }
    std::ostringstream out;
    out << "Line (" << op.x1 << ", " << op.y1 << ")-(" << op.x2 << ", " << op.y2 << ") colour "
        << static_cast<int>(op.colour);
    return out.str();
}

}  // namespace hashigoro::testing
