#pragma once

#include <emscripten/val.h>

#include "window_layout.h"

namespace hashigoro::web {

// A window of the layout table as page elements: a frame with the window's caption, and a
// client area of the table's size (at the page's scale) that holds its controls.
// Returns the client area.
emscripten::val MakeWindow(emscripten::val container, const char* id, const layout::Window& window);

// The control as an element of `client`, placed, captioned and styled as the table says:
// a command button as a real button, a label or line as a plain element, a picture box as an
// element for the caller to fill. An invisible control is made hidden; a disabled one disabled.
emscripten::val MakeControl(emscripten::val client, const layout::Control& control);

}  // namespace hashigoro::web
