#pragma once

#include <QPointer>
#include <QWidget>

#include "dialogs.h"

namespace hashigoro {

// The main window's modal boxes, made with Qt: an input box with OK and Cancel, and ConfirmBox.
// Both are centred over `parent`.
class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::int16_t YesNoBox(const std::string& text, const std::string& title) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace hashigoro
