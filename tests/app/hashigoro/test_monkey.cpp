// A monkey at the keyboard and mouse of the real program: random clicks and keys at random
// places of whichever window is shown, every box answered as it appears (never with a yes), for
// HASHIGORO_MONKEY_SECONDS seconds (30 unless set). The program must never crash, never hang,
// and end only when a quit is confirmed at the end.

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRect>
#include <QTemporaryDir>
#include <QTest>

#include "x_session.h"

using namespace hashigoro::testing;

namespace {

// Keys a person might hit anywhere. None of them can press a focused button (space and Return)
// or answer a yes/no box with yes (y), so no key can confirm a quit by chance.
const QStringList kKeys = {"Tab",    "shift+Tab", "Left", "Right",     "Up",     "Down",
                           "Escape", "a",         "n",    "1",         "5",      "0",
                           "F1",     "Home",      "End",  "BackSpace", "Delete", "Next"};

// Entries for the rung-count prompt, in range or not.
const QStringList kEntries = {"10", "50", "30", "9", "51", "abc", "", "1e1", "&H1E", "３０"};

// Where on the screen the yes/no boxes open, over the middle of the main window: no random
// click goes there, so a box that opens late cannot be answered yes by a stray click.
const QRect kBoxArea(380, 300, 260, 150);

int MonkeySeconds() {
    return qEnvironmentVariableIsSet("HASHIGORO_MONKEY_SECONDS")
               ? qEnvironmentVariableIntValue("HASHIGORO_MONKEY_SECONDS")
               : 30;
}

const QSize kMainClient(658, 569);
const QSize kHelpClient(617, 297);

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        const QString problem = x_.Start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(!x_.WaitForWindow(kPromptTitle).isEmpty());
    }

    void randomClicksAndKeysNeitherCrashNorHangNorQuit() {
        const int seconds = MonkeySeconds();
        const quint32 seed =
            qEnvironmentVariableIsSet("HASHIGORO_MONKEY_SEED")
                ? static_cast<quint32>(qEnvironmentVariableIntValue("HASHIGORO_MONKEY_SEED"))
                : QRandomGenerator::global()->generate();
        qInfo("monkey for %d s with seed %u", seconds, seed);
        QRandomGenerator random(seed);

        QElapsedTimer clock;
        clock.start();
        QElapsedTimer sinceAWindow;
        sinceAWindow.start();
        QString lastBox;
        int sameBoxAnswers = 0;
        while (clock.elapsed() < seconds * 1000) {
            QVERIFY2(x_.ProgramRuns(), "the program ended without a quit");

            // Boxes first: each is answered as a careful person would, never with yes.
            QString box = x_.FindWindow(kYesNoTitle);
            if (box.isEmpty()) {
                box = x_.FindWindow(kPromptQuitTitle);
            }
            const QString prompt = box.isEmpty() ? x_.FindWindow(kPromptTitle) : QString();
            if (!box.isEmpty() || !prompt.isEmpty()) {
                const QString shown = box.isEmpty() ? prompt : box;
                sameBoxAnswers = shown == lastBox ? sameBoxAnswers + 1 : 0;
                lastBox = shown;
                QVERIFY2(sameBoxAnswers < 10, "a box stays open whatever the answer: hung?");
                if (!box.isEmpty()) {
                    x_.Key(box, "n");
                    ++noAnswers_;
                } else if (random.bounded(8) == 0) {
                    x_.Key(prompt, "Escape");
                    ++cancels_;
                } else {
                    x_.EnterText(prompt, kEntries.at(random.bounded(kEntries.size())));
                    ++entries_;
                }
                QTest::qWait(250);
                sinceAWindow.restart();
                continue;
            }

            const QString main = x_.FindWindow(kMainWindowTitle);
            const QString help = x_.FindWindow(kHelpWindowTitle);
            QVERIFY2(main.isEmpty() || help.isEmpty(), "both windows are shown at once");
            if (main.isEmpty() && help.isEmpty()) {
                QVERIFY2(sinceAWindow.elapsed() < 10000, "no window for ten seconds");
                QTest::qWait(100);
                continue;
            }
            sinceAWindow.restart();
            const QString window = main.isEmpty() ? help : main;
            help.isEmpty() ? ++inMain_ : ++inHelp_;
            const QSize client = main.isEmpty() ? kHelpClient : kMainClient;

            const int roll = random.bounded(10);
            if (roll < 2) {
                x_.Key(window, kKeys.at(random.bounded(kKeys.size())));
                ++keys_;
            } else {
                QPoint at;
                if (roll < 4) {
                    // A button, so that the monkey gets through trials and windows.
                    const QList<QPoint> buttons =
                        main.isEmpty() ? QList<QPoint>{kCloseHelpButton}
                                       : QList<QPoint>{kStartButton, kStopButton, kQuitButton,
                                                       kInitialiseButton, kHelpButton};
                    at = buttons.at(random.bounded(buttons.size()));
                } else {
                    const QPoint origin = x_.ClientOrigin(window);
                    do {
                        at =
                            QPoint(random.bounded(client.width()), random.bounded(client.height()));
                    } while (kBoxArea.contains(origin + at));
                }
                x_.Click(window, at);
                ++clicks_;
            }
            QTest::qWait(150 + random.bounded(200));
        }
        qInfo(
            "%d clicks, %d keys, %d entries, %d cancels, %d boxes answered no; "
            "%d actions in the main window, %d in the help window",
            clicks_, keys_, entries_, cancels_, noAnswers_, inMain_, inHelp_);
        QVERIFY(clicks_ + keys_ > seconds);
    }

    void aConfirmedQuitStillEndsTheProgramWithStatusZero() {
        QElapsedTimer clock;
        clock.start();
        // Back to a main window with nothing open over it.
        while (clock.elapsed() < 30000) {
            QVERIFY(x_.ProgramRuns());
            if (const QString box = x_.FindWindow(kPromptQuitTitle); !box.isEmpty()) {
                x_.Key(box, "n");
            } else if (const QString quitBox = x_.FindWindow(kYesNoTitle); !quitBox.isEmpty()) {
                x_.Key(quitBox, "n");
            } else if (!x_.FindWindow(kPromptTitle).isEmpty()) {
                x_.AnswerPrompt("10");
            } else if (const QString help = x_.FindWindow(kHelpWindowTitle); !help.isEmpty()) {
                x_.Click(help, kCloseHelpButton);
            } else if (!x_.FindWindow(kMainWindowTitle).isEmpty()) {
                break;
            }
            QTest::qWait(300);
        }
        const QString main = x_.WaitForWindow(kMainWindowTitle);
        QVERIFY(!main.isEmpty());
        x_.Click(main, kStopButton);  // if a trial is under way; does nothing otherwise
        QTest::qWait(300);
        x_.Click(main, kQuitButton);
        const QString box = x_.WaitForWindow(kYesNoTitle, 10000);
        QVERIFY2(!box.isEmpty(), "the quit button no longer asks");
        x_.Key(box, "y");
        QVERIFY(x_.ProgramEndsWithStatusZero(15000));
    }

  private:
    XSession x_;
    int clicks_ = 0;
    int keys_ = 0;
    int entries_ = 0;
    int cancels_ = 0;
    int noAnswers_ = 0;
    int inMain_ = 0;
    int inHelp_ = 0;
};

int main(int argc, char* argv[]) {
    // Qt Test ends any test function after five minutes, and the long run lasts that long.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT")) {
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number((MonkeySeconds() + 120) * 1000));
    }
    QCoreApplication app(argc, argv);
    MonkeyTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_monkey.moc"
