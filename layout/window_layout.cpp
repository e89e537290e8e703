#include "window_layout.h"

#include <stdexcept>
#include <string>

namespace hashigoro::layout {

const Control& Find(const Window& window, std::string_view name) {
    for (const Control& control : window.controls) {
        if (control.name == name) {
            return control;
        }
    }
    throw std::out_of_range("no control " + std::string(name));
}

}  // namespace hashigoro::layout
