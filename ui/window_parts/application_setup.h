#pragma once

class QApplication;

namespace hashigoro {

// Who a program is to the desktop: `name` becomes the class of its windows (WM_CLASS, the
// menu entry's StartupWMClass) and `desktopFileName` names its menu entry (without .desktop),
// so that a dock shows the running windows under the entry's own name and icon.
struct ProgramIdentity {
    const char* name = nullptr;
    const char* desktopFileName = nullptr;
};

// Prepares the application before any window is made: the gothic font substitutes, and Qt's own
// Japanese translation so that the standard buttons read はい(&Y) / いいえ(&N) and OK / キャンセル.
// Windows come and go one at a time, so the program does not end when none is shown for a moment.
// The identity's parts that are given are set too.
void SetUpApplication(QApplication& app, const ProgramIdentity& identity = {});

}  // namespace hashigoro
