#pragma once

#include <emscripten/val.h>

#include <string>

#include "page_events.h"

namespace hashigoro::web {

// Form2 in the page: the close button "閉じる", the rule, and the white help surface on which
// the twelve lines of the help text are printed, each cut at the surface's right edge.
class HelpView {
  public:
    HelpView(emscripten::val container, PageEvents& events);
    ~HelpView();
    HelpView(const HelpView&) = delete;
    HelpView& operator=(const HelpView&) = delete;

    // True when `id` is the close button.
    static bool IsClose(const std::string& id) { return id == "Command1"; }

  private:
    emscripten::val window_;
};

}  // namespace hashigoro::web
