#pragma once

#include <QWidget>

#include "window_layout.h"

namespace hashigoro {

// A line control: a one-pixel horizontal rule in the window-text colour, filling its widget.
class RuleLine final : public QWidget {
    Q_OBJECT

  public:
    // The rule of `line`, from its left end to its right end (both included).
    RuleLine(const layout::Control& line, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace hashigoro
