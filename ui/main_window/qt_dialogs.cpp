#include "qt_dialogs.h"

#include <QInputDialog>

#include "confirm_box.h"

namespace hashigoro {

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
    QInputDialog box(parent_);
    box.setObjectName(QStringLiteral("InputBox"));
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(QString::fromStdString(title));
    box.setLabelText(QString::fromStdString(prompt));
    box.setTextValue(QString::fromStdString(defaultText));
    if (box.exec() != QDialog::Accepted) {
        return {};
    }
    return box.textValue().toStdString();
}

std::int16_t QtDialogs::YesNoBox(const std::string& text, const std::string& title) {
    ConfirmBox box(QString::fromStdString(text), QString::fromStdString(title), parent_);
    box.setObjectName(QStringLiteral("ConfirmBox"));
    return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

}  // namespace hashigoro
