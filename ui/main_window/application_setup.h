#pragma once

class QApplication;

namespace hashigoro {

// Prepares the application before any window is made: the gothic font substitutes, and Qt's own
// Japanese translation so that the standard buttons read はい(&Y) / いいえ(&N) and OK / キャンセル.
// Windows come and go one at a time, so the program does not end when none is shown for a moment.
void SetUpApplication(QApplication& app);

}  // namespace hashigoro
