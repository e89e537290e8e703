#pragma once

#include "dialogs.h"

namespace hashigoro {

// Ends the program: the event loop returns with status 0 as soon as the running handler
// returns, and no further event of any window is handled.
class QtProgramEnd final : public ProgramEnd {
  public:
    void EndProgram() override;
};

}  // namespace hashigoro
