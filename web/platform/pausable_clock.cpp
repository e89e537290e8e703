#include "pausable_clock.h"

namespace hashigoro::web {

double PausableClock::Now(double pageMs) const {
    return (hidden_ ? hiddenSince_ : pageMs) - hiddenTotal_;
}

void PausableClock::Hide(double pageMs) {
    if (!hidden_) {
        hidden_ = true;
        hiddenSince_ = pageMs;
    }
}

void PausableClock::Show(double pageMs) {
    if (hidden_) {
        hidden_ = false;
        hiddenTotal_ += pageMs - hiddenSince_;
    }
}

}  // namespace hashigoro::web
