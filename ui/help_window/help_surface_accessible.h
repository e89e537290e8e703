#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace hashigoro {

// How the help window reads to a screen reader: a window whose text is one document, its
// lines read one by one, each without the spaces that indent it. For the application's accessibility factory:
// null for any other object.
QAccessibleInterface* HelpSurfaceAccessible(const QString& className, QObject* object);

}  // namespace hashigoro
