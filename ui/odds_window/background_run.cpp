#include "background_run.h"

#include <utility>

namespace hashigoro {

void BackgroundRun::CancelAndWait() {
    cancel_ = true;
    if (thread_) {
        thread_->wait();
    }
}

bool BackgroundRun::Start(std::function<bool()> step, std::function<void(bool)> finished) {
    if (thread_) {
        return false;
    }
    cancel_ = false;
    thread_.reset(
        QThread::create([this, step = std::move(step), finished = std::move(finished)]() mutable {
            bool more = true;
            while (more && !cancel_) {
                more = step();
            }
            const bool cancelled = more;
            // Delivered on the run's own thread, after this thread is done.
            QMetaObject::invokeMethod(this, [this, finished = std::move(finished), cancelled] {
                thread_->wait();
                thread_.reset();
                finished(cancelled);
            });
        }));
    thread_->start();
    return true;
}

}  // namespace hashigoro
