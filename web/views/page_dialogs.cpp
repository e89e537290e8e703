#include "page_dialogs.h"

#include <utility>

#include "catalogue.h"
#include "page.h"

namespace hashigoro::web {

namespace {

// A dialog's frame: its title bar, then its body.
val MakeDialog(const char* id) {
    val dialog = Make("dialog", id, "box", Document()["body"]);
    dialog.call<void>("setAttribute", std::string("aria-labelledby"), std::string(id) + "Title");
    val head = Make("div", "", "box-head", dialog);
    Make("span", std::string(id) + "Title", "box-title", head);
    return dialog;
}

// Says `text` in `element`, marked with its text's name where it is one of the catalogue's, so
// that a switch of language says it again in the new one.
void SayRetextable(val element, const std::string& text) {
    const TextId id = texts::IdOf(text);
    if (id != TextId::None) {
        SetText(element, id);
    } else {
        SetText(element, text);
        element.call<void>("removeAttribute", std::string("data-text"));
    }
}

// The page's language menu goes with the open box, above which nothing else can be reached, so
// that a class chooses its language before it answers; `into` null puts it back in its corner.
void CarryLanguageMenu(val into) {
    val menu = ById("Language");
    val corner = ById("Corner");
    if (menu.isNull() || corner.isNull()) {
        return;
    }
    (into.isNull() ? corner : into).call<void>("append", menu);
}

}  // namespace

PageDialogs::PageDialogs(PageEvents& events, std::function<void(const PageEvent&)> elsewhere)
    : events_(events),
      elsewhere_(std::move(elsewhere)),
      inputBox_(val::null()),
      yesNoBox_(val::null()) {
    inputBox_ = MakeDialog("InputBox");
    val label = Make("label", "InputPrompt", "box-text", inputBox_);
    label.set("htmlFor", std::string("InputEntry"));
    val entry = Make("input", "InputEntry", "", inputBox_);
    entry.set("type", std::string("text"));
    entry.set("autocomplete", std::string("off"));
    val inputButtons = Make("div", "", "box-buttons", inputBox_);
    MakeButton("InputOk", TextId::OkButton, inputButtons);
    MakeButton("InputCancel", TextId::CancelButton, inputButtons);

    yesNoBox_ = MakeDialog("YesNoBox");
    Make("p", "YesNoText", "box-text", yesNoBox_);
    val yesNoButtons = Make("div", "", "box-buttons", yesNoBox_);
    MakeButton("Yes", TextId::YesButton, yesNoButtons);
    MakeButton("No", TextId::NoButton, yesNoButtons);

    for (const char* id : {"InputOk", "InputCancel", "Yes", "No"}) {
        events_.ListenForClicks(id);
    }
    events_.ListenForClose("InputBox");
    events_.ListenForClose("YesNoBox");
}

std::string PageDialogs::InputBox(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
    SayRetextable(ById("InputBoxTitle"), title);
    SayRetextable(ById("InputPrompt"), prompt);
    val entry = ById("InputEntry");
    entry.set("value", defaultText);
    const std::string answer = Run(inputBox_, entry, true);
    return answer == "InputOk" || answer == "Enter" ? entry["value"].as<std::string>()
                                                    : std::string();
}

std::int16_t PageDialogs::YesNoBox(const std::string& text, const std::string& title) {
    SayRetextable(ById("YesNoBoxTitle"), title);
    SayRetextable(ById("YesNoText"), text);
    // Yes is the default button, Y and N answer too, and Escape does nothing here.
    const std::string answer = Run(yesNoBox_, ById("Yes"), false);
    return answer == "Yes" ? kAnswerYes : kAnswerNo;
}

std::string PageDialogs::Run(val dialog, val focus, bool entry) {
    const val returnTo = Document()["activeElement"];
    const auto open = [&] {
        dialog.call<void>("showModal");
        focus.call<void>("focus");
        if (focus["tagName"].as<std::string>() == "INPUT") {
            focus.call<void>("select");
        }
    };
    CarryLanguageMenu(dialog.call<val>("querySelector", std::string(".box-head")));
    open();
    dialog.call<void>("setAttribute", std::string("data-waiting"), std::string("1"));
    events_.SetDialogOpen(true);
    std::string answer;
    while (answer.empty()) {
        const PageEvent event = events_.Wait();
        const bool ours = event.kind == PageEvent::Kind::Click &&
                          dialog.call<bool>("contains", ById(event.target));
        if (ours) {
            answer = event.target;
        } else if (event.kind == PageEvent::Kind::Key && entry) {
            // Closed by the browser, the input box was cancelled, as with Escape.
            answer = event.target == "Enter" || event.target == "Escape" ? event.target
                     : event.target == "Closed"                          ? "Escape"
                                                                         : "";
        } else if (event.kind == PageEvent::Kind::Key) {
            if (event.target == "Closed") {
                open();  // its only ways out are its two buttons
            }
            answer = event.target == "Y" ? "Yes" : event.target == "N" ? "No" : "";
        } else {
            elsewhere_(event);
        }
    }
    dialog.call<void>("removeAttribute", std::string("data-waiting"));
    events_.SetDialogOpen(false);
    dialog.call<void>("close");
    CarryLanguageMenu(val::null());
    if (!returnTo.isNull() && !returnTo.isUndefined()) {
        returnTo.call<void>("focus");
    }
    return answer;
}

}  // namespace hashigoro::web
