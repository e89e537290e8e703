#include "confirm_box.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace hashigoro {

ConfirmBox::ConfirmBox(const QString& text, const QString& title, QWidget* parent)
    : QMessageBox(parent) {
    setIcon(QMessageBox::NoIcon);
    setText(text);
    setWindowTitle(title);
    setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    setDefaultButton(QMessageBox::Yes);
    setEscapeButton(static_cast<QAbstractButton*>(nullptr));
}

void ConfirmBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

void ConfirmBox::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace hashigoro
