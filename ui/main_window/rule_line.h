#pragma once

#include <QWidget>

namespace hashigoro {

// A line control: a one-pixel horizontal rule in the window-text colour, filling its widget.
class RuleLine final : public QWidget {
    Q_OBJECT

  public:
    // A rule from x `left` to `right` (both included) at height `y`, in the parent's pixels.
    RuleLine(int left, int right, int y, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace hashigoro
