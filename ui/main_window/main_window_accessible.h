#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace hashigoro {

class Form1;

// How the main window reads to a screen reader. The window offers only what is shown (never
// the hidden draw button or the sound control); the ladder is one named graphic whose
// description says what a pupil sees, without its 201 red squares one by one; and the ten bars
// follow it as one list, each entry "3本目：7回" with its count as a value out of 20.
// For the application's accessibility factory: null for any other object.
QAccessibleInterface* MainWindowAccessible(const QString& className, QObject* object);

// Tells a screen reader that bar `bar` (1..10) of `window` now counts differently.
void BarCountChanged(Form1& window, int bar);

}  // namespace hashigoro
