#pragma once

#include <QLabel>

class QAccessibleInterface;

namespace hashigoro {

// A status line that no one sees and a screen reader reads: each sentence said replaces the
// last and is announced once, without moving the focus. Its accessible role is a notification,
// which a screen reader presents as it shows; it is shown again with each sentence.
class Announcer final : public QLabel {
    Q_OBJECT

  public:
    explicit Announcer(QWidget* parent);

    void Say(const QString& sentence);
};

// The accessible side of an announcer, for the application's accessibility factory: null for
// any other object.
QAccessibleInterface* AnnouncerAccessible(const QString& className, QObject* object);

}  // namespace hashigoro
