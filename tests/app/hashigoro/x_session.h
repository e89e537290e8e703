#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace hashigoro::testing {

// A private X display for tests that use the real program as a person would: Xvfb with openbox
// (without a window manager no window ever becomes active), xdotool to find windows, click and
// type, and screenshots of the whole screen.
class XSession {
  public:
    XSession() = default;
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    // Kills every process started here that still runs, the program first.
    ~XSession();

    // Starts the display, the window manager and the program in ProgramFolder(), with the
    // chimes of the build copied in unless `withChimes` is false; returns what went wrong, or
    // empty.
    QString Start(bool withChimes = true);

    // The program's current directory: a private folder that lives as long as the session.
    QString ProgramFolder() const { return folder_.path(); }

    bool ProgramRuns() const { return program_.state() == QProcess::Running; }
    // Waits up to `timeoutMs` for the program to end; true when it exited with status 0.
    bool ProgramEndsWithStatusZero(int timeoutMs);

    // Starts the answer sheet's program (its window) on the display; returns what went wrong,
    // or empty.
    QString StartAnswerSheet();

    // The class part of the window's WM_CLASS, as xprop reads it.
    QString WindowClass(const QString& window) const;

    // Runs xdotool and returns what it printed, trimmed.
    QString Xdo(const QStringList& arguments) const;
    // The id of a visible window whose title matches the regular expression, or empty.
    QString FindWindow(const QString& pattern) const;
    // As FindWindow, waiting up to `timeoutMs` for it; a window found gets 300 ms to paint.
    QString WaitForWindow(const QString& pattern, int timeoutMs = 20000) const;
    // Where the window's client area begins on the screen (xdotool reports the frame's place).
    QPoint ClientOrigin(const QString& window) const;
    // A left click at `at` in the window's client area. Does nothing when the window is gone.
    void Click(const QString& window, QPoint at) const;
    // Activates the window and presses `keys` (xdotool key names) there.
    void Key(const QString& window, const QString& keys) const;
    // Activates `prompt`, replaces its entry by `entry` and presses Return.
    void EnterText(const QString& prompt, const QString& entry) const;
    // Enters `entry` in the rung-count prompt. True when the prompt was there and has closed
    // within ten seconds.
    bool AnswerPrompt(const QString& entry) const;
    // The whole screen.
    QImage Screenshot() const;

  private:
    QString StartDisplay();
    QString StartProgram(bool withChimes);
    QString Run(const QString& tool, const QStringList& arguments, int timeoutMs = 10000) const;

    QProcess program_;
    QProcess answerSheet_;
    QProcess xvfb_;
    QProcess windowManager_;
    // For programs on this display: DISPLAY set, the offscreen platform of the tests removed,
    // and a private, empty runtime folder, so no sound server is found.
    QProcessEnvironment env_;
    QTemporaryDir runtime_;
    QTemporaryDir folder_;
};

// Title patterns of the program's windows, as FindWindow takes them.
inline const QString kMainWindowTitle = "^ はしごろう$";
inline const QString kHelpWindowTitle = "ヘルプ（設問と操作方法）$";
inline const QString kPromptTitle = "^ はしごろう横線本数の設定$";
inline const QString kYesNoTitle = "^はしごろう$";  // the quit button's confirmation
inline const QString kPromptQuitTitle = "^確認$";   // after the prompt was cancelled

// Client-area places of the main window's buttons and of the help window's close button.
inline const QPoint kQuitButton(28, 12);
inline const QPoint kInitialiseButton(600 + 28, 12);
inline const QPoint kHelpButton(544 + 28, 12);
inline const QPoint kStopButton(72 + 112, 512 + 20);
inline const QPoint kStartButton(360 + 112, 512 + 20);
inline const QPoint kCloseHelpButton(560 + 24, 12);

// Where the ladder surface's inner area begins in the main window's client area.
inline const QPoint kSurfaceInner(8 + 2, 40 + 2);

inline bool IsRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}
inline bool IsBlack(QRgb pixel) {
    return qGray(pixel) < 60;
}

// Red tally squares in a screenshot, the main window's client area beginning at `origin`.
int TallySquaresShown(const QImage& shot, QPoint origin);

}  // namespace hashigoro::testing
