#pragma once

#include <emscripten/val.h>

#include <functional>

#include "dialogs.h"
#include "page_events.h"

namespace hashigoro::web {

// The main window's modal boxes inside the page: an input box with OK and キャンセル (Enter and
// Escape answer for them) and a yes/no box with はい and いいえ (Y and N answer for them), whose
// only ways out are its two buttons. Each holds the focus while open and gives it back when it
// closes. While one is open it takes the page's events itself, as a desktop's modal box runs an
// event loop of its own; events that are not its own go to `elsewhere`.
class PageDialogs final : public Dialogs {
  public:
    PageDialogs(PageEvents& events, std::function<void(const PageEvent&)> elsewhere);

    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::int16_t YesNoBox(const std::string& text, const std::string& title) override;

  private:
    // Opens `dialog`, focusing `focus`, and returns the id of the first of its buttons clicked:
    // for the box with an `entry`, "Enter" or "Escape" pressed (or its closing by the browser,
    // as Escape) answer too; for the yes/no box, Y and N answer "Yes" and "No", and a closing
    // by the browser opens it again.
    std::string Run(emscripten::val dialog, emscripten::val focus, bool entry);

    PageEvents& events_;
    std::function<void(const PageEvent&)> elsewhere_;
    emscripten::val inputBox_;
    emscripten::val yesNoBox_;
};

}  // namespace hashigoro::web
