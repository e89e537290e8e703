#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace hashigoro {

// How the answer sheet's charts read to a screen reader: each chart is a table named by its
// title, one row per value on its horizontal axis (a line, a rung count, a trial) and one
// column per series, reached with the Tab key like any control. For the application's
// accessibility factory: null for any other object.
QAccessibleInterface* ChartAccessible(const QString& className, QObject* object);

}  // namespace hashigoro
