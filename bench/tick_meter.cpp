#include "tick_meter.h"

#include <QEvent>

#include <ctime>

#include "main_window.h"

namespace hashigoro::bench {

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

TickMeter::TickMeter(Form1& window)
    : QObject(&window),
      timer1_(window.TimerControl(Timer::Timer1)),
      timer2_(window.TimerControl(Timer::Timer2)),
      timer3_(window.TimerControl(Timer::Timer3)) {
    for (QTimer* timer : {timer1_.data(), timer2_.data(), timer3_.data()}) {
        timer->installEventFilter(this);
    }
    // Connected after the window's own handlers, so these run when the handler has returned.
    connect(timer1_, &QTimer::timeout, this, [this] { TickDone(false); });
    connect(timer2_, &QTimer::timeout, this, [this] { TickDone(true); });
}

void TickMeter::TrialStartedByHand() {
    waiting_ = false;  // the wait ended with a stop, not with the next trial
    StartTrial();
}

bool TickMeter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Timer) {
        if (watched == timer3_) {
            StartTrial();
        } else {
            tickStart_ = Clock::now();
            if (ticks_ > 0) {
                intervalMilliseconds.push_back(
                    std::chrono::duration<double, std::milli>(tickStart_ - lastTickStart_).count());
            }
            lastTickStart_ = tickStart_;
        }
    }
    return false;
}

void TickMeter::StartTrial() {
    if (waiting_) {
        idleWallSeconds += std::chrono::duration<double>(Clock::now() - waitStart_).count();
        idleCpuSeconds += ProcessCpuSeconds() - waitCpuStart_;
        waiting_ = false;
    }
    trialStart_ = Clock::now();
    ticks_ = 0;
}

void TickMeter::TickDone(bool descent) {
    const Clock::time_point end = Clock::now();
    tickMicroseconds.push_back(std::chrono::duration<double, std::micro>(end - tickStart_).count());
    ++ticks_;
    if (!descent || timer2_->isActive()) {
        return;
    }
    // The descent has arrived: Timer2 switched itself off in this tick.
    const double wall = std::chrono::duration<double>(end - trialStart_).count();
    trialRatios.push_back(wall / (ticks_ * 0.003));
    trialTicks.push_back(ticks_);
    waiting_ = true;
    waitStart_ = end;
    waitCpuStart_ = ProcessCpuSeconds();
    emit Arrived(static_cast<int>(trialRatios.size()));
}

}  // namespace hashigoro::bench
