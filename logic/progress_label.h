#pragma once

#include <string>

namespace hashigoro {

// The build-progress label Label1: shows the number of the rung being built.
class ProgressLabel {
  public:
    virtual ~ProgressLabel() = default;

    // Replaces the caption; `text` is UTF-8, empty to show nothing.
    virtual void SetCaption(const std::string& text) = 0;
};

}  // namespace hashigoro
