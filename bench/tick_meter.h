#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <vector>

namespace hashigoro {
class Form1;
}

namespace hashigoro::bench {

// Watches the three timers of a main window from outside: the time spent in each tick of Timer1
// and Timer2 (from the timer event to the end of the window's handler, drawing and repaint
// requests included), the ticks and wall time of each trial, and the CPU used while a finished
// trial waits for the next one. The window itself is not changed.
class TickMeter final : public QObject {
    Q_OBJECT

  public:
    explicit TickMeter(Form1& window);

    // Marks a trial started by the start button after a stop, rather than by Timer3; the time
    // since the last arrival is not counted as waiting.
    void TrialStartedByHand();

    std::vector<double> tickMicroseconds;      // one entry per tick of Timer1 or Timer2
    std::vector<double> intervalMilliseconds;  // between consecutive ticks within a trial
    std::vector<double> trialRatios;           // wall time / (ticks x 3 ms), one entry per trial
    std::vector<int> trialTicks;
    double idleWallSeconds = 0;
    double idleCpuSeconds = 0;

  signals:
    // A trial has ended with an arrival; `trials` counts them from 1.
    void Arrived(int trials);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using Clock = std::chrono::steady_clock;

    void TickDone(bool descent);
    void StartTrial();

    QPointer<QTimer> timer1_;
    QPointer<QTimer> timer2_;
    QPointer<QTimer> timer3_;
    Clock::time_point tickStart_;
    Clock::time_point lastTickStart_;
    Clock::time_point trialStart_;
    Clock::time_point waitStart_;
    double waitCpuStart_ = 0;
    bool waiting_ = false;
    int ticks_ = 0;
};

// CPU time used by this process so far, in seconds.
double ProcessCpuSeconds();

}  // namespace hashigoro::bench
