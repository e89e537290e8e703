#include "application_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "gothic_font.h"

namespace hashigoro {

void SetUpApplication(QApplication& app) {
    InstallGothicSubstitutes();
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    app.setQuitOnLastWindowClosed(false);
}

}  // namespace hashigoro
