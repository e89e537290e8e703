#pragma once

#include <QMessageBox>

namespace hashigoro {

// The yes/no box: a text and a title, the buttons Yes and No, no icon, Yes the default. The only
// ways out are the two buttons: Escape and the window's close button do nothing. (A plain
// QMessageBox would answer No to both.)
class ConfirmBox final : public QMessageBox {
    Q_OBJECT

  public:
    ConfirmBox(const QString& text, const QString& title, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace hashigoro
