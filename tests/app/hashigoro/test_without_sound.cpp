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

// The longest a button may take to show its effect. A window held up for the chime that cannot
// sound would wait for the 25 s the cut file promises; a window shows within a second even on a
// busy machine, xdotool's own start-up included.
constexpr int kAtOnceMs = 10000;
// The cut file's promise: 25 s of 16-bit mono sound at 44.1 kHz, within what a chime may last.
constexpr quint32 kPromisedBytes = 25 * 88200;

}  // namespace

class WithoutSoundTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        const QDir folder(x_.ProgramFolder());
        QVERIFY(folder.mkdir("pinpon.wav"));
        QFile truncated(folder.filePath("endpinpon.wav"));
        QVERIFY(truncated.open(QIODevice::WriteOnly));
        // A header that promises 25 s of sound, and then eight bytes of it.
        QByteArray header("RIFF");
        const auto le32 = [](quint32 v) {
            return QByteArray(reinterpret_cast<const char*>(&v), 4);  // a copy: v goes
        };
        header += le32(36 + kPromisedBytes) + "WAVEfmt " + le32(16);
        header += QByteArray::fromHex(
            "01000100"
            "44ac0000"
            "88580100"
            "02001000");
        header += "data" + le32(kPromisedBytes) + QByteArray(8, '\x10');
        truncated.write(header);
        truncated.close();
        const QString problem = x_.Start(false);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(x_.AnswerPrompt("10"));
        mainWindow_ = x_.WaitForWindow(kMainWindowTitle);
        QVERIFY(!mainWindow_.isEmpty());
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
        QVERIFY(x_.AnswerPrompt("20"));
    }

    void helpOpensAtOnceAndItsCloseButtonReturns() {
        x_.Click(mainWindow_, kHelpButton);
        QVERIFY2(Appears(kHelpWindowTitle), "the help window");
        const QString help = x_.WaitForWindow(kHelpWindowTitle);
        x_.Click(help, kCloseHelpButton);
        QVERIFY(!x_.WaitForWindow(kPromptTitle).isEmpty());
        mainWindow_ = x_.WaitForWindow(kMainWindowTitle);
        QVERIFY(x_.AnswerPrompt("30"));
    }

    void quitAsksAtOnceAndYesEndsTheProgram() {
        x_.Click(mainWindow_, kQuitButton);
        QVERIFY2(Appears(kYesNoTitle), "the quit confirmation");
        x_.Key(x_.FindWindow(kYesNoTitle), "y");
        QVERIFY(x_.ProgramEndsWithStatusZero(10000));
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
            QTest::qWait(20);
        }
        return false;
    }

    XSession x_;
    QString mainWindow_;
};

QTEST_GUILESS_MAIN(WithoutSoundTest)
#include "test_without_sound.moc"
