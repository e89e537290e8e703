#pragma once

#include <QFrame>
#include <QStringList>

#include "window_layout.h"

namespace hashigoro {

// Picture1 of the help window: a white surface with a sunken frame on which text is printed
// line by line from the top-left corner, each line cut at the right edge, never wrapped.
class HelpSurface final : public QFrame {
    Q_OBJECT

  public:
    // Prints in the gothic `font`.
    HelpSurface(const layout::FontSpec& font, QWidget* parent);

    // Erases all text and puts the print position back at the top-left corner.
    void Clear();

    // Prints `line` at the print position and moves it one line down.
    void PrintLine(const QString& line);

    const QStringList& Lines() const { return lines_; }

    // Top of printed line `n` (0-based) inside the frame, in pixels.
    int LineTop(int n) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QStringList lines_;
};

}  // namespace hashigoro
