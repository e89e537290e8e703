#include "x_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

#include <sys/prctl.h>

namespace hashigoro::testing {

namespace {

// The display, the window manager and the program end with the test, even when the test
// crashes: left behind, they would keep CTest waiting on their output for good.
void EndWithTheTest(QProcess& process) {
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

// Asks `answered` every tenth of a second until it holds or `timeoutMs` have passed; says once
// that it waits when a helper takes longer than two seconds.
template <typename Check>
bool Answers(Check answered, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    bool said = false;
    while (!answered()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        if (!said && clock.elapsed() > 2000) {
            qInfo("waiting for a helper of the private display (a busy machine)");
            said = true;
        }
        QTest::qWait(100);
    }
    return true;
}

}  // namespace

XSession::~XSession() {
    for (QProcess* p : {&program_, &windowManager_, &xvfb_}) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
}

QString XSession::Start(bool withChimes) {
    const QString problem = StartDisplay();
    return problem.isEmpty() ? StartProgram(withChimes) : problem;
}

QString XSession::StartDisplay() {
    for (const char* tool :
         {"Xvfb", "openbox", "xdotool", "xwininfo", "xdpyinfo", "xprop", "import"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            return QString("%1 is not installed").arg(tool);
        }
    }
    if (!runtime_.isValid() || !folder_.isValid()) {
        return "no temporary folder";
    }
    // Xvfb picks a free display itself and writes its number to the descriptor given.
    EndWithTheTest(xvfb_);
    EndWithTheTest(windowManager_);
    xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (!xvfb_.waitForStarted(10000)) {
        return "Xvfb did not start";
    }
    QElapsedTimer clock;
    clock.start();
    while (!xvfb_.canReadLine() && clock.elapsed() < 15000) {
        xvfb_.waitForReadyRead(500);
    }
    if (!xvfb_.canReadLine()) {
        return "Xvfb gave no display number";
    }
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("DISPLAY", ":" + QString::fromLatin1(xvfb_.readLine()).trimmed());
    env_.remove("QT_QPA_PLATFORM");
    env_.insert("XDG_RUNTIME_DIR", runtime_.path());
    env_.insert("PULSE_SERVER", runtime_.filePath("no-sound-server"));
    if (!Answers([&] { return Run("xdpyinfo", {}).contains("name of display"); }, 30000)) {
        return "the X server gave its display number but never answered xdpyinfo";
    }
    // Openbox has taken the screen once it sets the root window's check property. One that ends
    // first, or never does, is started again, three times at most.
    windowManager_.setProcessEnvironment(env_);
    windowManager_.setProcessChannelMode(QProcess::MergedChannels);
    QString said;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        windowManager_.start("openbox", {});
        if (!windowManager_.waitForStarted(10000)) {
            return "openbox did not start";
        }
        const auto manages = [&] {
            return Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
        };
        Answers([&] { return windowManager_.state() == QProcess::NotRunning || manages(); }, 30000);
        if (windowManager_.state() == QProcess::Running && manages()) {
            return {};
        }
        windowManager_.kill();
        windowManager_.waitForFinished(5000);
        said = QString::fromLocal8Bit(windowManager_.readAll()).simplified();
        qWarning("openbox did not take the display (try %d of 3): %s", attempt, qPrintable(said));
    }
    return "openbox never managed the screen: " + said;
}

QString XSession::StartProgram(bool withChimes) {
    if (withChimes) {
        for (const char* chime : {"pinpon.wav", "endpinpon.wav"}) {
            const QString target = folder_.filePath(chime);
            QFile::remove(target);
            if (!QFile::copy(QString(HASHIGORO_SOUNDS_DIR) + "/" + chime, target)) {
                return QString("cannot copy %1").arg(chime);
            }
        }
    }
    EndWithTheTest(program_);
    program_.setProcessEnvironment(env_);
    program_.setWorkingDirectory(folder_.path());
    program_.setProcessChannelMode(QProcess::ForwardedChannels);
    program_.start(HASHIGORO_EXECUTABLE, {});
    return program_.waitForStarted(10000) ? QString() : "the program did not start";
}

QString XSession::StartAnswerSheet() {
    EndWithTheTest(answerSheet_);
    answerSheet_.setProcessEnvironment(env_);
    answerSheet_.setProcessChannelMode(QProcess::ForwardedChannels);
    answerSheet_.start(HASHIGORO_ODDS_EXECUTABLE, {});
    return answerSheet_.waitForStarted(10000) ? QString() : "the answer sheet did not start";
}

QString XSession::WindowClass(const QString& window) const {
    // WM_CLASS(STRING) = "instance", "class"
    return Run("xprop", {"-id", window, "WM_CLASS"}).section('"', 3, 3);
}

bool XSession::ProgramEndsWithStatusZero(int timeoutMs) {
    if (!program_.waitForFinished(timeoutMs)) {
        qWarning("the program still runs after %d ms", timeoutMs);
        return false;
    }
    if (program_.exitStatus() != QProcess::NormalExit || program_.exitCode() != 0) {
        qWarning("the program ended with status %d (%s)", program_.exitCode(),
                 program_.exitStatus() == QProcess::NormalExit ? "exit" : "crash");
        return false;
    }
    return true;
}

QString XSession::Run(const QString& tool, const QStringList& arguments, int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(env_);
    process.start(tool, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString XSession::Xdo(const QStringList& arguments) const {
    return Run("xdotool", arguments);
}

QString XSession::FindWindow(const QString& pattern) const {
    return Xdo({"search", "--onlyvisible", "--name", pattern}).section('\n', 0, 0);
}

QString XSession::WaitForWindow(const QString& pattern, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    do {
        const QString id = FindWindow(pattern);
        if (!id.isEmpty()) {
            QTest::qWait(300);
            return id;
        }
        QTest::qWait(50);
    } while (clock.elapsed() < timeoutMs);
    return {};
}

QPoint XSession::ClientOrigin(const QString& window) const {
    const QString text = Run("xwininfo", {"-id", window});
    const auto value = [&](const char* axis) {
        return QRegularExpression(QString("Absolute upper-left %1:\\s+(-?\\d+)").arg(axis))
            .match(text)
            .captured(1)
            .toInt();
    };
    return QPoint(value("X"), value("Y"));
}

void XSession::Click(const QString& window, QPoint at) const {
    // One chain, so that xdotool stops before the click when the window has gone: a click at
    // the old pointer place could land on whatever box has opened there since.
    Xdo({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()), "click",
         "1"});
}

void XSession::Key(const QString& window, const QString& keys) const {
    Xdo({"windowactivate", "--sync", window, "key", "--clearmodifiers", keys});
}

void XSession::EnterText(const QString& prompt, const QString& entry) const {
    Key(prompt, "ctrl+a");
    Xdo({"type", entry});
    Xdo({"key", "Return"});
}

bool XSession::AnswerPrompt(const QString& entry) const {
    const QString prompt = WaitForWindow(kPromptTitle);
    if (prompt.isEmpty()) {
        return false;
    }
    EnterText(prompt, entry);
    QElapsedTimer clock;
    clock.start();
    while (!FindWindow(kPromptTitle).isEmpty()) {
        if (clock.elapsed() > 10000) {
            return false;
        }
        QTest::qWait(50);
    }
    return true;
}

QImage XSession::Screenshot() const {
    QProcess shot;
    shot.setProcessEnvironment(env_);
    shot.start("import", {"-window", "root", "png:-"});
    shot.waitForFinished(20000);
    return QImage::fromData(shot.readAllStandardOutput(), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

int TallySquaresShown(const QImage& shot, QPoint origin) {
    const QPoint inner = origin + kSurfaceInner;
    int squares = 0;
    for (int left : {94, 144, 192, 241, 290, 339, 388, 437, 486, 536}) {
        for (int i = 0; i < 20; ++i) {
            squares += IsRed(shot.pixel(inner + QPoint(left + 4, 436 - 8 * i))) ? 1 : 0;
        }
    }
    return squares;
}

}  // namespace hashigoro::testing
