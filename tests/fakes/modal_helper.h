#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace hashigoro::testing {

// Runs `act` on the next modal box that appears, polling the event loop; for answering boxes
// that a call under test opens and waits on.
inline void WhenModalAppears(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* box = QApplication::activeModalWidget(); box && box->isVisible()) {
            poll->stop();
            poll->deleteLater();
            act(box);
        }
    });
    poll->start();
}

}  // namespace hashigoro::testing
