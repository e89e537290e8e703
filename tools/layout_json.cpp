// Prints the windows' layout table as JSON, for tests of front ends that are not C++ (the
// page's tests compare every control of the page with it). Usage: layout_json > layout.json

#include <cstdio>
#include <string>
#include <string_view>

#include "window_layout.h"

namespace {

using namespace hashigoro::layout;

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
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
    std::string out = "{\"caption\": " + Quoted(window.caption) +
                      ", \"client\": " + Rect(window.client) + ", \"controls\": [";
    const char* separator = "\n    ";
    for (const Control& c : window.controls) {
        out += separator;
        separator = ",\n    ";
        out += "{\"name\": " + Quoted(c.name) +
               ", \"kind\": " + std::to_string(static_cast<int>(c.kind)) +
               ", \"rect\": " + Rect(c.rect) + ", \"caption\": " + Quoted(c.caption) +
               ", \"points\": " + std::to_string(c.font.points) +
               ", \"bold\": " + (c.font.bold ? "true" : "false") +
               ", \"visible\": " + (c.visible ? "true" : "false") +
               ", \"enabled\": " + (c.enabled ? "true" : "false") + "}";
    }
    return out + "]}";
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
        "\"squares\": {%s},\n\"main\": %s,\n\"help\": %s}\n",
        kTwipsPerPixel, kLadderBorder, Rect(kStartSquare).c_str(), squares.c_str(),
        WindowJson(kMainWindow).c_str(), WindowJson(kHelpWindow).c_str());
    return 0;
}
