// The real program on a real X server (Xvfb with openbox), driven with xdotool and checked in
// screenshots, as a person would use it.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "x_session.h"

using namespace hashigoro::testing;

class EndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        const QString problem = x_.Start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void thePromptOpensOverTheTenLinesAndTheStartSquare() {
        const QString prompt = x_.WaitForWindow(kPromptTitle);
        QVERIFY(!prompt.isEmpty());
        mainWindow_ = x_.WaitForWindow(kMainWindowTitle);
        QVERIFY(!mainWindow_.isEmpty());
        const QImage shot = x_.Screenshot();
        const QPoint origin = x_.ClientOrigin(mainWindow_);
        // The prompt covers the middle of the ladder; the upper ends of the lines show above it.
        for (int column = 2; column <= 11; ++column) {
            const QPoint p = origin + kSurfaceInner + QPoint(49 * column, 60);
            QVERIFY2(IsBlack(shot.pixel(p)), qPrintable(QString("line of column %1").arg(column)));
            QVERIFY(!IsBlack(shot.pixel(p + QPoint(3, 0))));
        }
        QVERIFY(IsRed(shot.pixel(origin + kSurfaceInner + QPoint(196, 36))));
        shot.save(QDir::temp().filePath("hashigoro-e2e-prompt.png"));
    }

    void anAcceptedCountLeavesTheWholeLadderShowing() {
        QVERIFY(x_.AnswerPrompt("10"));
        QTest::qWait(300);
        const QImage shot = x_.Screenshot();
        const QPoint origin = x_.ClientOrigin(mainWindow_);
        for (int column = 2; column <= 11; ++column) {
            for (int y : {46, 150, 275}) {
                QVERIFY(IsBlack(shot.pixel(origin + kSurfaceInner + QPoint(49 * column, y))));
            }
        }
    }

    void aTrialDrawsTheRedPathAndCountsOneSquare() {
        x_.Click(mainWindow_, kStartButton);
        // A trial takes well under a second and the next one begins five seconds after the
        // first: stopping after two leaves exactly one finished trial on the board.
        QTest::qWait(2000);
        x_.Click(mainWindow_, kStopButton);
        QTest::qWait(300);
        const QImage shot = x_.Screenshot();
        shot.save(QDir::temp().filePath("hashigoro-e2e-trial.png"));
        const QPoint inner = x_.ClientOrigin(mainWindow_) + kSurfaceInner;
        int pathPixels = 0;
        for (int y = 46; y <= 276; ++y) {
            for (int x = 90; x <= 545; ++x) {
                pathPixels += IsRed(shot.pixel(inner + QPoint(x, y))) ? 1 : 0;
            }
        }
        QVERIFY2(pathPixels > 200, qPrintable(QString::number(pathPixels)));
        // The marker starts down column 4.
        QVERIFY(IsRed(shot.pixel(inner + QPoint(196, 47))));
        QCOMPARE(SquaresShown(shot), 1);
        // Label1 shows the number of the last rung built.
        int ink = 0;
        for (int y = 552; y < 569; ++y) {
            for (int x = 8; x < 33; ++x) {
                ink += IsBlack(shot.pixel(x_.ClientOrigin(mainWindow_) + QPoint(x, y))) ? 1 : 0;
            }
        }
        QVERIFY(ink > 5);
        trialShot_ = shot;
    }

    void stopKeepsTheTrialOnTheBoard() {
        QTest::qWait(5000);  // past the moment the next trial would have begun
        const QImage shot = x_.Screenshot();
        const QRect surface(x_.ClientOrigin(mainWindow_) + QPoint(8, 40), QSize(641, 457));
        QVERIFY(shot.copy(surface) == trialShot_.copy(surface));
        QCOMPARE(SquaresShown(shot), 1);
    }

    void helpReplacesTheMainWindowAndClosingItAsksAgain() {
        x_.Click(mainWindow_, kHelpButton);
        const QString help = x_.WaitForWindow(kHelpWindowTitle);
        QVERIFY(!help.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(x_.FindWindow(kMainWindowTitle).isEmpty(), 5000);
        const QImage shot = x_.Screenshot();
        shot.save(QDir::temp().filePath("hashigoro-e2e-help.png"));
        const QPoint origin = x_.ClientOrigin(help);
        int ink = 0;
        for (int y = 34; y < 280; ++y) {
            for (int x = 10; x < 600; ++x) {
                ink += IsBlack(shot.pixel(origin + QPoint(x, y))) ? 1 : 0;
            }
        }
        QVERIFY(ink > 1000);
        QCOMPARE(shot.pixel(origin + QPoint(300, 40)), qRgb(255, 255, 255));

        x_.Click(help, kCloseHelpButton);
        QVERIFY(!x_.WaitForWindow(kPromptTitle).isEmpty());
        mainWindow_ = x_.WaitForWindow(kMainWindowTitle);
        QVERIFY(x_.AnswerPrompt("20"));
    }

    void quitAnsweredNoChangesNothing() {
        x_.Click(mainWindow_, kQuitButton);
        const QString box = x_.WaitForWindow(kYesNoTitle);
        QVERIFY(!box.isEmpty());
        x_.Key(box, "Escape");  // no way out but Yes or No
        QTest::qWait(300);
        QVERIFY(!x_.FindWindow(kYesNoTitle).isEmpty());
        x_.Key(box, "n");
        QTRY_VERIFY_WITH_TIMEOUT(x_.FindWindow(kYesNoTitle).isEmpty(), 5000);
        QVERIFY(x_.ProgramRuns());
        QVERIFY(!x_.FindWindow(kMainWindowTitle).isEmpty());
    }

    void quitAnsweredYesEndsTheProgramWithStatusZero() {
        x_.Click(mainWindow_, kQuitButton);
        const QString box = x_.WaitForWindow(kYesNoTitle);
        QVERIFY(!box.isEmpty());
        x_.Key(box, "y");
        QVERIFY(x_.ProgramEndsWithStatusZero(10000));
    }

  private:
    int SquaresShown(const QImage& shot) {
        return TallySquaresShown(shot, x_.ClientOrigin(mainWindow_));
    }

    XSession x_;
    QString mainWindow_;
    QImage trialShot_;
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
