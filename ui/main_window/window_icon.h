#pragma once

#include <QIcon>

namespace hashigoro {

// The program's own 32 x 32 icon: a small black ladder on white, a red start square above its
// third line and red bars of different heights below it.
QIcon MakeWindowIcon();

}  // namespace hashigoro
