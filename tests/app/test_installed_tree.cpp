// Installs the build into a temporary prefix, as `cmake --install build --prefix PREFIX` does,
// and checks the tree: every file where the desktop expects it and nothing else, the desktop
// entry and the AppStream metadata accepted by their validators, each icon at its own size.

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kId = "invalid.hashigoro.Hashigoro";

// Runs a command to its end; its exit status and everything it printed.
std::pair<int, QString> Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

}  // namespace

class InstalledTreeTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(prefix_.isValid());
        const auto [status, output] =
            Run(CMAKE_COMMAND, {"--install", HASHIGORO_BUILD_DIR, "--prefix", prefix_.path()});
        QVERIFY2(status == 0, qPrintable(output));
    }

    void everyFileStandsWhereItBelongsAndNothingElse() {
        QStringList expected = {"bin/hashigoro",
                                "bin/hashigoro-odds",
                                "share/applications/" + kId + ".Odds.desktop",
                                "share/man/man1/hashigoro-odds.1.gz",
                                "share/hashigoro/pinpon.wav",
                                "share/hashigoro/endpinpon.wav",
                                "share/applications/" + kId + ".desktop",
                                "share/metainfo/" + kId + ".metainfo.xml",
                                "share/icons/hicolor/scalable/apps/" + kId + ".svg",
                                "share/man/man1/hashigoro.1.gz",
                                "share/doc/hashigoro/copyright",
                                "share/doc/hashigoro/changelog.gz"};
        for (int size : kIconSizes) {
            expected << QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId);
        }
        QStringList installed;
        QDirIterator it(prefix_.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            installed << QDir(prefix_.path()).relativeFilePath(it.next());
        }
        expected.sort();
        installed.sort();
        QCOMPARE(installed, expected);
        QVERIFY(QFileInfo(prefix_.filePath("bin/hashigoro")).isExecutable());
    }

    void eachIconIsPaintedAtItsOwnSize() {
        for (int size : kIconSizes) {
            const QImage icon(prefix_.filePath(
                QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId)));
            QCOMPARE(icon.size(), QSize(size, size));
            // Painted, not scaled: only white, black and red, no blended edges.
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb p = icon.pixel(x, y) & 0xFFFFFF;
                    QVERIFY2(p == 0xFFFFFF || p == 0 || p == 0xFF0000,
                             qPrintable(QString::number(size)));
                }
            }
        }
    }

    void theDesktopEntriesStartTheProgramsTheMainOneBesideItsChimes() {
        const QString entry = prefix_.filePath("share/applications/" + kId + ".desktop");
        const QString odds = prefix_.filePath("share/applications/" + kId + ".Odds.desktop");
        const auto [status, output] = Run("desktop-file-validate", {entry, odds});
        QVERIFY2(status == 0 && output.isEmpty(), qPrintable(output));
        QCOMPARE(QSettings(odds, QSettings::IniFormat).value("Desktop Entry/Exec").toString(),
                 prefix_.filePath("bin/hashigoro-odds"));
        QSettings settings(entry, QSettings::IniFormat);
        settings.beginGroup("Desktop Entry");
        QCOMPARE(settings.value("Exec").toString(), prefix_.filePath("bin/hashigoro"));
        QCOMPARE(settings.value("Path").toString(), prefix_.filePath("share/hashigoro"));
        QCOMPARE(settings.value("Icon").toString(), kId);
    }

    void theMetadataPassesTheValidatorWithoutAWarning() {
        const auto [status, output] = Run(
            "appstreamcli",
            {"validate", "--no-net", prefix_.filePath("share/metainfo/" + kId + ".metainfo.xml")});
        QVERIFY2(status == 0 && !output.contains("\nW:") && !output.contains("\nE:") &&
                     !output.startsWith("W:") && !output.startsWith("E:"),
                 qPrintable(output));
    }

  private:
    static constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
    QTemporaryDir prefix_;
};

QTEST_GUILESS_MAIN(InstalledTreeTest)
#include "test_installed_tree.moc"
