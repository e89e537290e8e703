#include "page.h"

namespace hashigoro::web {

val Document() {
    return val::global("document");
}

val ById(const std::string& id) {
    return Document().call<val>("getElementById", id);
}

val Make(const char* tag, std::string_view id, const char* className, val parent) {
    val element = Document().call<val>("createElement", std::string(tag));
    if (!id.empty()) {
        element.set("id", std::string(id));
    }
    if (className && *className) {
        element.set("className", std::string(className));
    }
    parent.call<void>("appendChild", element);
    return element;
}

void SetText(val element, std::string_view utf8) {
    element.set("textContent", std::string(utf8));
}

void SetStyle(val element, const char* property, const std::string& value) {
    element["style"].call<void>("setProperty", std::string(property), value);
}

std::string Scaled(double pixels) {
    return "calc(var(--s) * " + std::to_string(pixels) + "px)";
}

void PlaceAt(val element, const layout::TwipsRect& rect, int offset) {
    SetStyle(element, "left", Scaled(layout::Px(rect.left) + offset));
    SetStyle(element, "top", Scaled(layout::Px(rect.top) + offset));
    SetStyle(element, "width", Scaled(layout::Px(rect.width)));
    SetStyle(element, "height", Scaled(layout::Px(rect.height)));
}

std::string Rgb(const layout::Rgb& colour) {
    return "rgb(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue) + ")";
}

}  // namespace hashigoro::web
