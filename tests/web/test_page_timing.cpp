// The browser edition's timers and clock: a trial takes its ticks x 3 ms whenever the page
// gets to run them, and a hidden page stops the experiment's clock.

#include <QTest>

#include <vector>

#include "pausable_clock.h"
#include "tick_scheduler.h"

using namespace hashigoro;
using namespace hashigoro::web;

class PageTimingTest : public QObject {
    Q_OBJECT

  private slots:
    // Browsers wake a page 4 ms apart at best, and a frame is 16 ms: every tick due by then
    // runs, each on its own beat.
    void ticksDueBetweenWakeUpsAllRunInOrder_data() {
        QTest::addColumn<double>("wakeEveryMs");
        QTest::newRow("4 ms timers") << 4.0;
        QTest::newRow("16 ms frames") << 16.7;
        QTest::newRow("a 40 ms stall") << 40.0;
    }
    void ticksDueBetweenWakeUpsAllRunInOrder() {
        QFETCH(double, wakeEveryMs);
        int ticks = 0;
        double lastDue = 0;
        TickScheduler timers({3, 3, 5000}, [&](Timer) { ++ticks; });
        timers.SetNow(0);
        timers.SetTimerEnabled(Timer::Timer1, true);
        for (double now = wakeEveryMs; now <= 300; now += wakeEveryMs) {
            timers.RunDue(now);
            lastDue = now;
        }
        // One tick every 3 ms of the clock, none lost and none doubled.
        QCOMPARE(ticks, static_cast<int>(lastDue / 3));
        QCOMPARE(*timers.NextDue(), 3.0 * (ticks + 1));
    }

    void theEarliestTickRunsFirstAndATimerSwitchedOffTicksNoMore() {
        std::vector<Timer> order;
        TickScheduler* self = nullptr;
        TickScheduler timers({3, 3, 5000}, [&](Timer timer) {
            order.push_back(timer);
            if (timer == Timer::Timer2 && order.size() >= 3) {
                self->SetTimerEnabled(Timer::Timer1, false);  // as the end of a build does
            }
        });
        self = &timers;
        timers.SetNow(0);
        timers.SetTimerEnabled(Timer::Timer1, true);
        timers.SetNow(1);
        timers.SetTimerEnabled(Timer::Timer2, true);
        timers.RunDue(10);
        // Timer1 at 3, Timer2 at 4, Timer1 at 6, Timer2 at 7 (which stops Timer1), Timer2 at 10.
        QCOMPARE(order, (std::vector<Timer>{Timer::Timer1, Timer::Timer2, Timer::Timer1,
                                            Timer::Timer2, Timer::Timer2}));
        QVERIFY(!timers.IsEnabled(Timer::Timer1));
        // Switching a running timer on keeps its beat.
        timers.SetTimerEnabled(Timer::Timer2, true);
        QCOMPARE(*timers.NextDue(), 13.0);
    }

    void ticksFarBehindAreNotMadeUp() {
        int ticks = 0;
        TickScheduler timers({3, 3, 5000}, [&](Timer) { ++ticks; });
        timers.SetTimerEnabled(Timer::Timer3, true);
        timers.RunDue(60000);  // a page stalled for a minute
        QCOMPARE(ticks, 1);
        QCOMPARE(*timers.NextDue(), 65000.0);
    }

    // A class that comes back to the tab finds the experiment where it was.
    void theClockStandsStillWhileThePageIsHidden() {
        PausableClock clock;
        QCOMPARE(clock.Now(1000), 1000.0);
        clock.Hide(1500);
        QCOMPARE(clock.Now(9000), 1500.0);
        clock.Hide(9500);  // a second hiding changes nothing
        clock.Show(11500);
        QCOMPARE(clock.Now(11500), 1500.0);
        QCOMPARE(clock.Now(12000), 2000.0);
        clock.Show(13000);
        QCOMPARE(clock.Now(13000), 3000.0);
    }
};

QTEST_APPLESS_MAIN(PageTimingTest)
#include "test_page_timing.moc"
