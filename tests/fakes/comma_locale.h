#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>

namespace hashigoro::testing {

// Puts the process in de_DE.UTF-8, a locale whose decimal separator is a comma, for one scope;
// the locale is compiled into a private folder, as the machine may have none installed.
// Active() is false when it could not be made.
class CommaLocale {
  public:
    CommaLocale() {
        const QString path = folder_.filePath("de_DE.UTF-8");
        // localedef exits with 1 for mere warnings.
        if (QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", path}) > 1) {
            return;
        }
        qputenv("LOCPATH", folder_.path().toLocal8Bit());
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
            return;
        }
        char seen[16];
        std::snprintf(seen, sizeof seen, "%.1f", 0.5);
        active_ = QByteArray(seen) == "0,5";
    }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return active_; }

  private:
    QTemporaryDir folder_;
    bool active_ = false;
};

}  // namespace hashigoro::testing
