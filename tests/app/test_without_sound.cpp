// The real program where its chimes cannot sound: no sound server at all, one chime a folder
// and the other a WAV file cut short. Every button that plays a chime must still do its work
// at once.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "x_session.h"

using namespace hashigoro::testing;

namespace {

// The longest a button may take to show its effect, including xdotool's own start-up. A chime
// that stalled the window would take far longer: the shortest of ours lasts a second.
constexpr int kAtOnceMs = 800;

}  // namespace

class WithoutSoundTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        const QString problem = x_.Start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(folder_.isValid());
        QVERIFY(QDir(folder_.path()).mkdir("pinpon.wav"));
        QFile truncated(folder_.filePath("endpinpon.wav"));
        QVERIFY(truncated.open(QIODevice::WriteOnly));
        // A header that promises a second of sound, and then eight bytes of it.
        QByteArray header("RIFF");
        const auto le32 = [](quint32 v) {
            return QByteArray(reinterpret_cast<const char*>(&v), 4);  // a copy: v goes
        };
        header += le32(36 + 88200) + "WAVEfmt " + le32(16);
        header += QByteArray::fromHex(
            "01000100"
            "44ac0000"
            "88580100"
            "02001000");
        header += "data" + le32(88200) + QByteArray(8, '\x10');
        truncated.write(header);
        truncated.close();
        const QString notStarted = x_.StartProgram(app_, folder_.path(), false);
        QVERIFY2(notStarted.isEmpty(), qPrintable(notStarted));
        x_.AnswerPrompt("10");
        mainWindow_ = x_.WaitForWindow(kMainWindowTitle);
        QVERIFY(!mainWindow_.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(x_.FindWindow(kPromptTitle).isEmpty(), 10000);
    }

    void cleanupTestCase() {
        if (app_.state() != QProcess::NotRunning) {
            app_.kill();
            app_.waitForFinished(5000);
        }
    }

    void initialiseEmptiesTheBarsAndAsksAtOnce() {
        x_.Click(mainWindow_, kStartButton);
        QTest::qWait(2000);
        x_.Click(mainWindow_, kStopButton);
        QTRY_COMPARE_WITH_TIMEOUT(TallySquaresShown(x_.Screenshot(), x_.ClientOrigin(mainWindow_)),
                                  1, 5000);

        x_.Click(mainWindow_, kInitialiseButton);
        QVERIFY2(Appears(kPromptTitle), "the prompt after initialise");
        QCOMPARE(TallySquaresShown(x_.Screenshot(), x_.ClientOrigin(mainWindow_)), 0);
        x_.AnswerPrompt("20");
        QTRY_VERIFY_WITH_TIMEOUT(x_.FindWindow(kPromptTitle).isEmpty(), 10000);
    }

    void helpOpensAtOnceAndItsCloseButtonReturns() {
        x_.Click(mainWindow_, kHelpButton);
        QVERIFY2(Appears(kHelpWindowTitle), "the help window");
        const QString help = x_.WaitForWindow(kHelpWindowTitle);
        x_.Click(help, kCloseHelpButton);
        QVERIFY(!x_.WaitForWindow(kPromptTitle).isEmpty());
        mainWindow_ = x_.WaitForWindow(kMainWindowTitle);
        x_.AnswerPrompt("30");
        QTRY_VERIFY_WITH_TIMEOUT(x_.FindWindow(kPromptTitle).isEmpty(), 10000);
    }

    void quitAsksAtOnceAndYesEndsTheProgram() {
        x_.Click(mainWindow_, kQuitButton);
        QVERIFY2(Appears(kYesNoTitle), "the quit confirmation");
        x_.Key(x_.FindWindow(kYesNoTitle), "y");
        QVERIFY(app_.waitForFinished(10000));
        QCOMPARE(app_.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app_.exitCode(), 0);
    }

  private:
    // True when a window titled `pattern` shows within kAtOnceMs.
    bool Appears(const QString& pattern) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kAtOnceMs) {
            if (!x_.FindWindow(pattern).isEmpty()) {
                qInfo("%s shown after %lld ms", qPrintable(pattern), clock.elapsed());
                return true;
            }
        }
        return false;
    }

    XSession x_;
    QProcess app_;
    QString mainWindow_;
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(WithoutSoundTest)
#include "test_without_sound.moc"
