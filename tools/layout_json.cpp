// Prints the windows' layout table as JSON, and every language's texts by their number in
// TextId, for what is not C++: the page's tests compare every control of the page with it, and
// the page's bundler takes from it what the page says before its program runs and the
// characters each language's font needs. Usage: layout_json > layout.json

#include <cstdio>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "window_layout.h"

namespace {

using namespace hashigoro::layout;

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string Rect(const TwipsRect& r) {
    // Appended piece by piece: a literal joined to a temporary string draws a false
    // -Wrestrict from GCC 12 with optimisation.
    std::string rect = "[";
    rect += std::to_string(r.left);
    rect += ", ";
    rect += std::to_string(r.top);
    rect += ", ";
    rect += std::to_string(r.width);
    rect += ", ";
    rect += std::to_string(r.height);
    return rect + "]";
}

std::string WindowJson(const Window& window) {
    std::string out = "{\"caption\": " + Quoted(hashigoro::texts::Text(window.caption)) +
                      ", \"client\": " + Rect(window.client) + ", \"controls\": [";
    const char* separator = "\n    ";
    for (const Control& c : window.controls) {
        out += separator;
        separator = ",\n    ";
        out += "{\"name\": " + Quoted(c.name) +
               ", \"kind\": " + std::to_string(static_cast<int>(c.kind)) +
               ", \"rect\": " + Rect(c.rect) +
               ", \"caption\": " + Quoted(hashigoro::texts::Text(c.caption)) +
               ", \"points\": " + std::to_string(c.font.points) +
               ", \"bold\": " + (c.font.bold ? "true" : "false") +
               ", \"visible\": " + (c.visible ? "true" : "false") +
               ", \"enabled\": " + (c.enabled ? "true" : "false") + "}";
    }
    return out + "]}";
}

std::string LanguagesJson() {
    std::string out = "[";
    for (const hashigoro::Language* language : hashigoro::texts::Languages()) {
        out += out.size() > 1 ? ",\n" : "\n";
        out += "{\"code\": " + Quoted(language->code) + ", \"name\": " + Quoted(language->name) +
               ", \"font\": " + Quoted(language->font) + ", \"texts\": [";
        for (int id = 0; id < static_cast<int>(hashigoro::TextId::Count); ++id) {
            out += (id > 0 ? ", " : "") +
                   Quoted(hashigoro::texts::Text(*language, static_cast<hashigoro::TextId>(id)));
        }
        out += "]}";
    }
    return out + "]";
}

}  // namespace

int main() {
    std::string squares;
    for (int bar = 1; bar <= kBars; ++bar) {
        for (int index : {1, kSquaresPerBar}) {
            squares += (squares.empty() ? "" : ", ") + std::string("\"o") + std::to_string(bar) +
                       "_" + std::to_string(index) + "\": " + Rect(TallySquare(bar, index));
        }
    }
    std::printf(
        "{\"twipsPerPixel\": %d, \"ladderBorder\": %d,\n\"startSquare\": %s,\n"
        "\"squares\": {%s},\n\"main\": %s,\n\"help\": %s,\n\"languages\": %s}\n",
        kTwipsPerPixel, kLadderBorder, Rect(kStartSquare).c_str(), squares.c_str(),
        WindowJson(kMainWindow).c_str(), WindowJson(kHelpWindow).c_str(), LanguagesJson().c_str());
    return 0;
}
