#include "announcer.h"

#include <QAccessibleWidget>

namespace hashigoro {

namespace {

class NotificationAccessible final : public QAccessibleWidget {
  public:
    explicit NotificationAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
};

}  // namespace

Announcer::Announcer(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("Announcer"));
    // One pixel in the window's corner, drawn in nothing: it must be shown to be read.
    setGeometry(0, 0, 1, 1);
    QPalette clear = palette();
    clear.setColor(QPalette::WindowText, Qt::transparent);
    setPalette(clear);
    setFocusPolicy(Qt::NoFocus);
    lower();
}

void Announcer::Say(const QString& sentence) {
    setText(sentence);
    // Hidden and shown again: a screen reader presents a notification as it comes into view.
    hide();
    show();
}

QAccessibleInterface* AnnouncerAccessible(const QString& className, QObject* object) {
    auto* announcer = qobject_cast<Announcer*>(object);
    return className == QLatin1String("hashigoro::Announcer") && announcer
               ? new NotificationAccessible(announcer)
               : nullptr;
}

}  // namespace hashigoro
