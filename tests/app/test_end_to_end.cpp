// The real program on a real X server (Xvfb with openbox), driven with xdotool and checked in
// screenshots, as a person would use it.

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QColor kRed(255, 0, 0);

// Client-area places of the main window, in pixels.
const QPoint kSurfaceInner(8 + 2, 40 + 2);
const QPoint kStart(360 + 112, 512 + 20);
const QPoint kStop(72 + 112, 512 + 20);
const QPoint kQuit(28, 12);
const QPoint kHelp(544 + 28, 12);
const QPoint kCloseHelp(560 + 24, 12);

bool IsRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}
bool IsBlack(QRgb pixel) {
    return qGray(pixel) < 60;
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        for (const char* tool : {"Xvfb", "openbox", "xdotool", "xwininfo", "import"}) {
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), tool);
        }
        xvfb_.start("Xvfb",
                    {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        QVERIFY(xvfb_.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(xvfb_.canReadLine(), 15000);
        display_ = ":" + QString::fromLatin1(xvfb_.readLine()).trimmed();
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("DISPLAY", display_);
        env_.remove("QT_QPA_PLATFORM");
        env_.insert("XDG_RUNTIME_DIR", runtime_.path());  // no sound server: the cues stay silent
        windowManager_.setProcessEnvironment(env_);
        windowManager_.start("openbox", {});
        QVERIFY(windowManager_.waitForStarted(10000));
        QTest::qWait(1000);

        QVERIFY(folder_.isValid());
        for (const char* chime : {"pinpon.wav", "endpinpon.wav"}) {
            QVERIFY(
                QFile::copy(QString(HASHIGORO_SOUNDS_DIR) + "/" + chime, folder_.filePath(chime)));
        }
        app_.setProcessEnvironment(env_);
        app_.setWorkingDirectory(folder_.path());
        app_.setProcessChannelMode(QProcess::ForwardedChannels);
        app_.start(HASHIGORO_EXECUTABLE, {});
        QVERIFY(app_.waitForStarted(10000));
    }

    void cleanupTestCase() {
        for (QProcess* p : {&app_, &windowManager_, &xvfb_}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    void thePromptOpensOverTheTenLinesAndTheStartSquare() {
        const QString prompt = WaitForWindow("横線本数の設定");
        QVERIFY(!prompt.isEmpty());
        mainWindow_ = WaitForWindow("^ はしごろう$");
        QVERIFY(!mainWindow_.isEmpty());
        const QImage shot = Screenshot();
        const QPoint origin = ClientOrigin(mainWindow_);
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
        AnswerPrompt("10");
        QTRY_VERIFY_WITH_TIMEOUT(FindWindow("横線本数の設定").isEmpty(), 10000);
        QTest::qWait(300);
        const QImage shot = Screenshot();
        const QPoint origin = ClientOrigin(mainWindow_);
        for (int column = 2; column <= 11; ++column) {
            for (int y : {46, 150, 275}) {
                QVERIFY(IsBlack(shot.pixel(origin + kSurfaceInner + QPoint(49 * column, y))));
            }
        }
    }

    void aTrialDrawsTheRedPathAndCountsOneSquare() {
        Click(mainWindow_, kStart);
        // A trial takes well under a second and the next one begins five seconds after the
        // first: stopping after two leaves exactly one finished trial on the board.
        QTest::qWait(2000);
        Click(mainWindow_, kStop);
        QTest::qWait(300);
        const QImage shot = Screenshot();
        shot.save(QDir::temp().filePath("hashigoro-e2e-trial.png"));
        const QPoint inner = ClientOrigin(mainWindow_) + kSurfaceInner;
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
                ink += IsBlack(shot.pixel(ClientOrigin(mainWindow_) + QPoint(x, y))) ? 1 : 0;
            }
        }
        QVERIFY(ink > 5);
        trialShot_ = shot;
    }

    void stopKeepsTheTrialOnTheBoard() {
        QTest::qWait(5000);  // past the moment the next trial would have begun
        const QImage shot = Screenshot();
        const QRect surface(ClientOrigin(mainWindow_) + QPoint(8, 40), QSize(641, 457));
        QVERIFY(shot.copy(surface) == trialShot_.copy(surface));
        QCOMPARE(SquaresShown(shot), 1);
    }

    void helpReplacesTheMainWindowAndClosingItAsksAgain() {
        Click(mainWindow_, kHelp);
        const QString help = WaitForWindow("ヘルプ（設問と操作方法）");
        QVERIFY(!help.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(FindWindow("^ はしごろう$").isEmpty(), 5000);
        const QImage shot = Screenshot();
        shot.save(QDir::temp().filePath("hashigoro-e2e-help.png"));
        const QPoint origin = ClientOrigin(help);
        int ink = 0;
        for (int y = 34; y < 280; ++y) {
            for (int x = 10; x < 600; ++x) {
                ink += IsBlack(shot.pixel(origin + QPoint(x, y))) ? 1 : 0;
            }
        }
        QVERIFY(ink > 1000);
        QCOMPARE(shot.pixel(origin + QPoint(300, 40)), qRgb(255, 255, 255));

        Click(help, kCloseHelp);
        QVERIFY(!WaitForWindow("横線本数の設定").isEmpty());
        mainWindow_ = WaitForWindow("^ はしごろう$");
        AnswerPrompt("20");
        QTRY_VERIFY_WITH_TIMEOUT(FindWindow("横線本数の設定").isEmpty(), 10000);
    }

    void quitAnsweredNoChangesNothing() {
        Click(mainWindow_, kQuit);
        const QString box = WaitForWindow("^はしごろう$");
        QVERIFY(!box.isEmpty());
        Xdo({"windowactivate", "--sync", box});
        Xdo({"key", "Escape"});  // no way out but Yes or No
        QTest::qWait(300);
        QVERIFY(!FindWindow("^はしごろう$").isEmpty());
        Xdo({"key", "n"});
        QTRY_VERIFY_WITH_TIMEOUT(FindWindow("^はしごろう$").isEmpty(), 5000);
        QCOMPARE(app_.state(), QProcess::Running);
        QVERIFY(!FindWindow("^ はしごろう$").isEmpty());
    }

    void quitAnsweredYesEndsTheProgramWithStatusZero() {
        Click(mainWindow_, kQuit);
        const QString box = WaitForWindow("^はしごろう$");
        QVERIFY(!box.isEmpty());
        Xdo({"windowactivate", "--sync", box});
        Xdo({"key", "y"});
        QVERIFY(app_.waitForFinished(10000));
        QCOMPARE(app_.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app_.exitCode(), 0);
    }

  private:
    // Red tally squares in a screenshot of the main window.
    int SquaresShown(const QImage& shot) {
        const QPoint inner = ClientOrigin(mainWindow_) + kSurfaceInner;
        int squares = 0;
        for (int left : {94, 144, 192, 241, 290, 339, 388, 437, 486, 536}) {
            for (int i = 0; i < 20; ++i) {
                squares += IsRed(shot.pixel(inner + QPoint(left + 4, 436 - 8 * i))) ? 1 : 0;
            }
        }
        return squares;
    }

    QString Xdo(const QStringList& arguments) {
        QProcess xdo;
        xdo.setProcessEnvironment(env_);
        xdo.start("xdotool", arguments);
        xdo.waitForFinished(10000);
        return QString::fromUtf8(xdo.readAllStandardOutput()).trimmed();
    }

    // The id of a visible window whose title matches `pattern`, or empty.
    QString FindWindow(const QString& pattern) {
        return Xdo({"search", "--onlyvisible", "--name", pattern}).section('\n', 0, 0);
    }

    QString WaitForWindow(const QString& pattern) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            const QString id = FindWindow(pattern);
            if (!id.isEmpty()) {
                QTest::qWait(300);  // let it paint
                return id;
            }
            QTest::qWait(100);
        }
        return {};
    }

    // Where the window's client area begins on the screen (xdotool reports the frame's place).
    QPoint ClientOrigin(const QString& window) {
        QProcess info;
        info.setProcessEnvironment(env_);
        info.start("xwininfo", {"-id", window});
        info.waitForFinished(10000);
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        const auto value = [&](const char* axis) {
            return QRegularExpression(QString("Absolute upper-left %1:\\s+(-?\\d+)").arg(axis))
                .match(text)
                .captured(1)
                .toInt();
        };
        return QPoint(value("X"), value("Y"));
    }

    void Click(const QString& window, QPoint at) {
        Xdo({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y())});
        Xdo({"click", "1"});
    }

    void AnswerPrompt(const QString& entry) {
        const QString prompt = WaitForWindow("横線本数の設定");
        QVERIFY(!prompt.isEmpty());
        Xdo({"windowactivate", "--sync", prompt});
        Xdo({"key", "--clearmodifiers", "ctrl+a"});
        Xdo({"type", entry});
        Xdo({"key", "Return"});
    }

    QImage Screenshot() {
        QProcess shot;
        shot.setProcessEnvironment(env_);
        shot.start("import", {"-window", "root", "png:-"});
        shot.waitForFinished(20000);
        return QImage::fromData(shot.readAllStandardOutput(), "PNG")
            .convertToFormat(QImage::Format_RGB32);
    }

    QProcess xvfb_;
    QProcess windowManager_;
    QProcess app_;
    QProcessEnvironment env_;
    QString display_;
    QString mainWindow_;
    QImage trialShot_;
    QTemporaryDir folder_;
    QTemporaryDir runtime_;
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
