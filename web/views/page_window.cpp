#include "page_window.h"

#include <string>

#include "catalogue.h"
#include "page.h"

namespace hashigoro::web {

namespace {

const char* ElementFor(layout::ControlKind kind) {
    switch (kind) {
        case layout::ControlKind::CommandButton:
            return "button";
        case layout::ControlKind::Label:
        case layout::ControlKind::Line:
        case layout::ControlKind::PictureBox:
        case layout::ControlKind::MultimediaControl:
            break;
    }
    return "div";
}

const char* ClassFor(layout::ControlKind kind) {
    switch (kind) {
        case layout::ControlKind::CommandButton:
            return "control button";
        case layout::ControlKind::Label:
            return "control label";
        case layout::ControlKind::Line:
            return "control rule";
        case layout::ControlKind::PictureBox:
            return "control picture";
        case layout::ControlKind::MultimediaControl:
            return "control";
    }
    return "control";
}

}  // namespace

val MakeWindow(val container, const char* id, const layout::Window& window) {
    val frame = Make("section", id, "window", container);
    frame.call<void>("setAttribute", std::string("aria-labelledby"), std::string(id) + "Caption");
    // The window's caption bar is the page's heading, as its title is the page's.
    val caption = Make("h1", std::string(id) + "Caption", "caption", frame);
    SetText(caption, window.caption);
    val client = Make("div", std::string(id) + "Client", "client", frame);
    SetStyle(client, "width", Scaled(layout::Px(window.client.width)));
    SetStyle(client, "height", Scaled(layout::Px(window.client.height)));
    Document().set("title", std::string(texts::Text(window.caption)));
    return client;
}

val MakeControl(val client, const layout::Control& control) {
    val element = Make(ElementFor(control.kind), control.name, ClassFor(control.kind), client);
    PlaceAt(element, control.rect);
    if (control.kind == layout::ControlKind::Line) {
        // One window pixel high, from its left end to its right end inclusive.
        SetStyle(element, "width", Scaled(layout::Px(control.rect.width) + 1));
        SetStyle(element, "height", Scaled(1));
    }
    if (control.kind == layout::ControlKind::CommandButton) {
        element.set("type", std::string("button"));
        element.set("disabled", !control.enabled);
    }
    if (control.caption != TextId::None) {
        SetText(element, control.caption);
    }
    if (control.font.points > 0) {
        // Points at 96 dots per inch, in window pixels.
        SetStyle(element, "font-size", Scaled(control.font.points * 96 / 72));
        SetStyle(element, "font-weight", control.font.bold ? "700" : "400");
        element["classList"].call<void>("add", std::string("gothic"));
    }
    if (control.centred) {
        SetStyle(element, "text-align", "center");
    }
    element.set("hidden", !control.visible);
    return element;
}

}  // namespace hashigoro::web
