#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace hashigoro {

// Work for the answer sheet's window that must not keep it waiting: run step by step on a
// thread of its own, with the end reported back on the thread that owns the run.
class BackgroundRun final : public QObject {
    Q_OBJECT

  public:
    explicit BackgroundRun(QObject* parent = nullptr) : QObject(parent) {}
    ~BackgroundRun() override { CancelAndWait(); }

    // Calls `step` on the run's thread until it returns false or the run is cancelled, then
    // `finished` here, with whether it was cancelled. Returns false, doing nothing, while a
    // run is under way.
    bool Start(std::function<bool()> step, std::function<void(bool cancelled)> finished);
    // Asks the run to stop after its current step.
    void Cancel() { cancel_ = true; }
    // Cancels a run under way and waits for its step to end; its `finished` is not called.
    void CancelAndWait();
    bool IsRunning() const { return thread_ != nullptr; }

  private:
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> cancel_ = false;
};

}  // namespace hashigoro
