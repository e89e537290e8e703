#include "page.h"

#include <emscripten.h>

#include "catalogue.h"
#include "class_trend.h"
#include "experiment_state.h"
#include "odds_sheet_text.h"

namespace hashigoro::web {

namespace {

// clang-format off
// A download's data is let go once the page is hidden for good, or after ten minutes: Safari on
// an iPad reads it only when the person has confirmed the download, which may take a while.
EM_JS(void, RevokeLater, (const char* url), {
    const text = UTF8ToString(url);
    const revoke = () => {
        URL.revokeObjectURL(text);
        clearTimeout(timer);
        window.removeEventListener('pagehide', revokeOnLeaving);
    };
    const revokeOnLeaving = event => event.persisted || revoke();
    const timer = setTimeout(revoke, 600000);
    window.addEventListener('pagehide', revokeOnLeaving);
});
// clang-format on

}  // namespace

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

void SetText(val element, TextId id, bool trimmed) {
    std::string_view text = texts::Text(id);
    while (trimmed && !text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    SetText(element, text);
    element.call<void>("setAttribute", std::string("data-text"),
                       std::to_string(static_cast<int>(id)) + (trimmed ? "t" : ""));
}

void SetLabel(val element, TextId id) {
    element.call<void>("setAttribute", std::string("aria-label"), std::string(texts::Text(id)));
    element.call<void>("setAttribute", std::string("data-label"),
                       std::to_string(static_cast<int>(id)));
}

void RetextPage() {
    for (const char* attribute : {"data-text", "data-label"}) {
        const val marked =
            Document().call<val>("querySelectorAll", "[" + std::string(attribute) + "]");
        const int count = marked["length"].as<int>();
        for (int i = 0; i < count; ++i) {
            val element = marked[i];
            const std::string mark =
                element.call<std::string>("getAttribute", std::string(attribute));
            const auto id = static_cast<TextId>(std::stoi(mark));
            if (attribute == std::string_view("data-text")) {
                SetText(element, id, mark.back() == 't');
            } else {
                SetLabel(element, id);
            }
        }
    }
}

val MakeButton(std::string_view id, TextId caption, val parent, const char* className) {
    val button = Make("button", id, className, parent);
    button.set("type", std::string("button"));
    SetText(button, caption);
    return button;
}

void Download(val parent, const std::string& fileName, const val& url) {
    val link = Make("a", "", "", parent);
    link.set("href", url);
    link.set("download", fileName);
    link.call<void>("click");
    link.call<void>("remove");
    const std::string address = url.as<std::string>();
    if (address.rfind("blob:", 0) == 0) {
        RevokeLater(address.c_str());
    }
}

void DownloadText(val parent, const std::string& fileName, const std::string& text,
                  const char* type) {
    val parts = val::array();
    parts.call<void>("push", text);
    val options = val::object();
    options.set("type", std::string(type));
    Download(
        parent, fileName,
        val::global("URL").call<val>("createObjectURL", val::global("Blob").new_(parts, options)));
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

val MakeChartCanvas(val parent, const char* id, TextId title) {
    val canvas = Make("canvas", id, "", parent);
    canvas.call<void>("setAttribute", std::string("role"), std::string("img"));
    SetLabel(canvas, title);
    return canvas;
}

val Numbers(const std::vector<double>& values) {
    return val::global("Array").call<val>(
        "from", val(emscripten::typed_memory_view(values.size(), values.data())));
}

std::string LineColourCss(int line) {
    const LineColour colour = ColourOfLine(line);
    return "rgb(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue) + ")";
}

val ArrivalLineNames() {
    val names = val::array();
    for (int column = kFirstColumn; column <= kLastColumn; ++column) {
        names.call<void>("push", odds_sheet::ArrivalLine(column));
    }
    return names;
}

}  // namespace hashigoro::web
