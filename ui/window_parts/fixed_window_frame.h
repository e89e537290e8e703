#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace hashigoro {

// The frame that both windows share: a title bar with the system menu, minimise and close
// buttons, the program's icon, `title`, and a client area of fixed size `client.size()` whose
// top-left corner stands at `client.topLeft()` (screen pixels). The window keeps that place
// whenever the whole window, frame included, fits the screen's available area; on a smaller
// screen it is moved just far enough to fit (see FitOnScreen), when it is first shown and once
// more when the window manager has put its frame around it. Later showings leave it where it is.
void SetUpFixedWindow(QWidget& window, const QString& title, const QRect& client);

// Where a window's frame goes: `frame` itself if it lies wholly inside `available`, otherwise
// moved just enough to fit, and with its top-left corner inside `available` when it is wider
// or taller than that area. Returns the frame's new top-left corner.
QPoint FitOnScreen(const QRect& frame, const QRect& available);

}  // namespace hashigoro
