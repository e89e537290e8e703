#include "fixed_window_frame.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "window_icon.h"

namespace hashigoro {

namespace {

// Puts a window at its fixed place on screen when it is first shown. Before the window manager has
// framed the window its frame is not known, so the margins last seen on any window stand in; the
// window is fitted again, on a move or at a short check, until its real frame is known. Moves after
// that are the user's own and are left alone.
class ScreenFit final : public QObject {
  public:
    ScreenFit(QWidget& window, const QRect& client)
        : QObject(&window), window_(window), client_(client) {
        window.installEventFilter(this);
        check_.setInterval(kCheckMs);
        connect(&check_, &QTimer::timeout, this, [this] {
            if (Fit() || ++checks_ >= kChecks) {
                check_.stop();
            }
        });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_) {
            // Only the first showing: a window shown again (restored after being minimised)
            // stays where the user has put it since, even on another screen.
            if (event->type() == QEvent::Show && !shown_) {
                shown_ = true;
                if (!Fit()) {
                    check_.start();
                }
            } else if (event->type() == QEvent::Move && check_.isActive() && Fit()) {
                check_.stop();
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    // Moves the window to its fitted place; true once its real frame was known for that.
    bool Fit() {
        const QRect frame = window_.frameGeometry();
        const QRect inner = window_.geometry();
        QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                         frame.right() - inner.right(), frame.bottom() - inner.bottom());
        const bool framed = !margins.isNull();
        if (framed) {
            lastMargins_ = margins;
        } else {
            margins = lastMargins_;
        }
        const QScreen* screen = window_.screen();
        if (!screen) {
            return true;
        }
        const QRect fixedFrame = client_.marginsAdded(margins);
        const QPoint place = FitOnScreen(fixedFrame, screen->availableGeometry()) +
                             QPoint(margins.left(), margins.top());
        if (place != inner.topLeft()) {
            window_.setGeometry(QRect(place, client_.size()));
        }
        return framed;
    }

    QWidget& window_;
    const QRect client_;
    static constexpr int kCheckMs = 50;
    static constexpr int kChecks = 40;  // two seconds at the most
    QTimer check_;
    int checks_ = 0;
    bool shown_ = false;
    static inline QMargins lastMargins_;
};

}  // namespace

void SetUpFixedWindow(QWidget& window, const QString& title, const QRect& client) {
    window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    window.setWindowTitle(title);
    window.setWindowIcon(MakeWindowIcon());
    window.setGeometry(client);
    window.setFixedSize(client.size());
    new ScreenFit(window, client);
}

QPoint FitOnScreen(const QRect& frame, const QRect& available) {
    const auto fit = [](int start, int length, int areaStart, int areaLength) {
        // Pulled back from the far edge first, so that the near edge wins when both cannot.
        return std::max(std::min(start, areaStart + areaLength - length), areaStart);
    };
    return QPoint(fit(frame.left(), frame.width(), available.left(), available.width()),
                  fit(frame.top(), frame.height(), available.top(), available.height()));
}

}  // namespace hashigoro
