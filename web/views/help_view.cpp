#include "help_view.h"

#include "catalogue.h"
#include "help_text.h"
#include "page.h"
#include "page_window.h"
#include "window_layout.h"

namespace hashigoro::web {

HelpView::HelpView(val container, PageEvents& events) : window_(val::null()) {
    val client = MakeWindow(container, "Form2", layout::kHelpWindow);
    window_ = ById("Form2");
    for (const layout::Control& control : layout::kHelpControls) {
        val element = MakeControl(client, control);
        if (control.name == "Picture1") {
            SetStyle(element, "background", Rgb(layout::kWhite));
            SetStyle(element, "color", Rgb(layout::kBlack));
            for (const TextId id : layout::kHelpText) {
                // An empty line keeps its height.
                const std::string_view line = texts::Text(id);
                SetText(Make("div", "", "help-line", element), line.empty() ? "\u00a0" : line);
            }
        }
    }
    // The close button holds the focus when the window opens.
    events.ListenForClicks("Command1");
    ById("Command1").call<void>("focus");
}

HelpView::~HelpView() {
    window_.call<void>("remove");
}

}  // namespace hashigoro::web
