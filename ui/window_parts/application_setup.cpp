#include "application_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "gothic_font.h"

namespace hashigoro {

void SetUpApplication(QApplication& app, const ProgramIdentity& identity) {
    if (identity.name) {
        QCoreApplication::setApplicationName(QString::fromUtf8(identity.name));
    }
    if (identity.desktopFileName) {
        QGuiApplication::setDesktopFileName(QString::fromUtf8(identity.desktopFileName));
    }
    InstallGothicSubstitutes();
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    app.setQuitOnLastWindowClosed(false);
}

}  // namespace hashigoro
