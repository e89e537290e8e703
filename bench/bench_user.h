#pragma once

#include "dialogs.h"

namespace hashigoro::bench {

// The person at the keyboard during a bench run: enters `rungs` at every rung-count prompt at
// once and never confirms a quit.
class BenchUser final : public Dialogs {
  public:
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::int16_t YesNoBox(const std::string& text, const std::string& title) override;

    int rungs = 50;  // 10..50
};

}  // namespace hashigoro::bench
