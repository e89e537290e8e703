#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace hashigoro {

// How the help's text reads to a screen reader: one document whose lines are read one by
// one, each without the spaces that indent it. For the application's accessibility factory:
// null for any other object.
QAccessibleInterface* HelpSurfaceAccessible(const QString& className, QObject* object);

}  // namespace hashigoro
