#pragma once

#include <QIcon>

class QPainter;

namespace hashigoro {

// Paints the program's icon into a square of `size` x `size` pixels (16 and up) at the
// painter's origin: a small black ladder on white, a red start square above its third line and
// red bars of different heights below it. The picture is laid out on a grid of 32 and every
// shape lands on whole pixels at every size, so each size is crisp, never a scaled bitmap.
void PaintIcon(QPainter& painter, int size);

// The icon at 32 x 32 pixels in 24-bit colour, for the windows' title bars.
QIcon MakeWindowIcon();

}  // namespace hashigoro
