#include "qt_program_end.h"

#include <QApplication>
#include <QWidget>

namespace hashigoro {

void QtProgramEnd::EndProgram() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(0);
}

}  // namespace hashigoro
