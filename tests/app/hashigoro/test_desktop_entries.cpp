// The running windows as a desktop's dock sees them: each program's windows carry the class
// that its menu entry names, so the dock shows them under the entry's name and icon.

#include <QFile>
#include <QTest>

#include "x_session.h"

using namespace hashigoro::testing;

class DesktopEntriesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        const QString problem = x_.Start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // From a review: a dock showed the running windows apart from their menu entries, with a
    // generic icon.
    void eachProgramsWindowsBelongToItsMenuEntry_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("title");
        QTest::newRow("はしごろう") << HASHIGORO_APP_ID << kMainWindowTitle;
        QTest::newRow("はしごろう＿理論値") << HASHIGORO_APP_ID ".Odds"
                                            << "＿理論値$";
    }
    void eachProgramsWindowsBelongToItsMenuEntry() {
        QFETCH(QString, entry);
        QFETCH(QString, title);
        QFile file(QString(HASHIGORO_DATA_DIR) + "/" + entry + ".desktop.in");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString wmClass;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            if (line.startsWith("StartupWMClass=")) {
                wmClass = line.section('=', 1);
            }
        }
        if (title != kMainWindowTitle) {
            QVERIFY(x_.StartAnswerSheet().isEmpty());
        }
        const QString window = x_.WaitForWindow(title);
        QVERIFY(!window.isEmpty());
        QVERIFY(!wmClass.isEmpty());
        QCOMPARE(x_.WindowClass(window), wmClass);
    }

  private:
    XSession x_;
};

QTEST_MAIN(DesktopEntriesTest)
#include "test_desktop_entries.moc"
