// Ten thousand trials through the controller with the real generator, rung generation and
// descent, a fake window around them, and a user who now and then stops, restarts, initialises
// and goes to the help window and back. After every event the window must be in a state the
// button table allows, the bars must match the tallies, and memory must not grow.

#include <QTest>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <random>

#include "experiment_controller.h"
#include "fake_timers.h"
#include "fake_window.h"
#include "mixing_random_source.h"
#include "scripted_random.h"
#include "window_snapshot.h"

using namespace hashigoro;
using namespace hashigoro::testing;

// Every allocation of the process is counted, so that the test sees a leak of a single object.
namespace {
std::size_t gLiveAllocations = 0;
}

void* operator new(std::size_t size) {
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        ++gLiveAllocations;
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (p != nullptr) {
        --gLiveAllocations;
        std::free(p);
    }
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

// A board that only counts: a soak must not keep ten thousand ladders.
class CountingBoard final : public LadderBoard {
  public:
    void Clear() override { ++clears; }
    void Line(float, float, float, float, PaletteColour) override { ++lines; }
    long clears = 0;
    long lines = 0;
};

class CountingLabel final : public ProgressLabel {
  public:
    void SetCaption(const std::string&) override { ++captions; }
    long captions = 0;
};

// Answers every prompt with a rung count from the user's generator and never quits.
class SoakDialogs final : public Dialogs {
  public:
    explicit SoakDialogs(std::mt19937& user) : user_(user) {}
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        ++prompts;
        return std::to_string(std::uniform_int_distribution<int>(10, 50)(user_));
    }
    std::int16_t YesNoBox(const std::string&, const std::string&) override { return kAnswerNo; }
    int prompts = 0;

  private:
    std::mt19937& user_;
};

class SilentCue final : public SoundCue {
  public:
    void PlayCue(const std::string&) override {}
};

// The sanitizer's quarantine keeps freed memory resident, so only the plain build measures the
// resident set.
#ifdef HASHIGORO_SANITIZE
constexpr bool kMeasureResidentSet = false;
#else
constexpr bool kMeasureResidentSet = true;
#endif

// Resident set size of this process in bytes.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// The window states of the controller, each one row of the button and timer table.
enum class Expect { Ready, Building, Descending, Waiting, Stopped, Ended };

const char* TableRow(Expect e) {
    static constexpr const char* kRows[] = {"136|", "5|13", "5|23", "5|3", "1346|", "346|"};
    return kRows[static_cast<int>(e)];
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

  private slots:
    void tenThousandTrialsKeepEveryInvariantAndLeakNothing() {
        std::mt19937 user(20261207);
        CountingBoard board;
        CountingLabel label;
        FakeTimers timers;
        FakeView view;
        SilentCue cue;
        SoakDialogs dialogs(user);
        FakeProgramEnd programEnd;
        MixingRandomSource random(0x5eed'50a6'0000'0001ULL);
        SteppingClock clock(36000.0f, 0.003);
        const ControllerPorts ports{board,   label,      timers, view, cue,
                                    dialogs, programEnd, random, clock};

        auto controller = std::make_unique<ExperimentController>(ports);
        controller->Form_Activate();
        Expect expect = Expect::Ready;
        int trials = 0;
        int tallySum = 0;
        int helpTrips = 0;
        int experimentsEnded = 0;
        long allocationsAtTrial1000 = -1;
        long residentAtTrial1000 = 0;

        // Compares the window with the row of `expect`, and the bars with the tallies; keeps the
        // first fault found, which ends the run.
        QString fault;
        const auto check = [&](const char* event) {
            const QString where = QString("after %1 in trial %2: ").arg(event).arg(trials);
            const std::string row = ButtonsAndTimers(view, timers);
            if (row != TableRow(expect)) {
                fault =
                    where +
                    QString("%1, expected %2").arg(QString::fromStdString(row), TableRow(expect));
                return;
            }
            for (int c = kFirstColumn; c <= kLastColumn; ++c) {
                const int tally = controller->State().Tally(c);
                if (tally < 0 || tally > kFullBar) {
                    fault = where + QString("tally %1 in column %2").arg(tally).arg(c);
                    return;
                }
                for (int i = 1; i <= kFullBar; ++i) {
                    if (view.squares[c - 2][i - 1] != (i <= tally)) {
                        fault = where + QString("square %1 of column %2").arg(i).arg(c);
                        return;
                    }
                }
            }
        };

        const auto startTrial = [&](bool byTimer3) {
            if (byTimer3) {
                controller->Timer3_Timer();
            } else {
                controller->Command1_Click();
            }
            expect = Expect::Building;
            check(byTimer3 ? "a tick of Timer3" : "start");
        };

        startTrial(false);
        while (trials < 10000 && fault.isEmpty()) {
            const int roll = std::uniform_int_distribution<int>(0, 999)(user);
            if (expect == Expect::Building || expect == Expect::Descending) {
                if (roll < 2) {
                    controller->Command5_Click();
                    expect = Expect::Stopped;
                    check("stop during a trial");
                    continue;
                }
                if (roll < 3) {
                    startTrial(true);  // Timer3 comes round before the trial is over
                    continue;
                }
                const bool building = expect == Expect::Building;
                building ? controller->Timer1_Timer() : controller->Timer2_Timer();
                if (building && !timers.IsOn(Timer::Timer1)) {
                    expect = Expect::Descending;
                } else if (!building && !timers.IsOn(Timer::Timer2)) {
                    ++trials;
                    int sum = 0;
                    int fullest = 0;
                    for (int c = kFirstColumn; c <= kLastColumn; ++c) {
                        sum += controller->State().Tally(c);
                        fullest = std::max<int>(fullest, controller->State().Tally(c));
                    }
                    if (view.IsEnabled(Button::Command4)) {
                        // The arrival found its bar full: nothing added, the experiment is over.
                        QCOMPARE(sum, tallySum);
                        QCOMPARE(fullest, kFullBar);
                        expect = Expect::Ended;
                        ++experimentsEnded;
                    } else {
                        QCOMPARE(sum, tallySum + 1);
                        expect = Expect::Waiting;
                    }
                    tallySum = sum;
                }
                check(building ? "a building tick" : "a descent tick");
            } else if (expect == Expect::Waiting) {
                if (roll < 20) {
                    controller->Command5_Click();
                    expect = Expect::Stopped;
                    check("stop after an arrival");
                } else {
                    startTrial(true);
                }
            } else if (expect == Expect::Stopped || expect == Expect::Ended) {
                if (expect == Expect::Stopped && roll < 700) {
                    startTrial(false);
                } else if (roll < 850) {
                    controller->Command4_Click();
                    QCOMPARE(view.pointers,
                             (std::vector{MousePointer::Hourglass, MousePointer::Arrow}));
                    std::vector<MousePointer>().swap(view.pointers);  // the fake keeps no history
                    tallySum = 0;
                    expect = Expect::Ready;
                    check("initialise");
                } else {
                    // To the help window and back: a new main window with its creation values.
                    controller->Command6_Click();
                    QCOMPARE(view.helpSwitches, 1);  // each new window has its own count
                    ++helpTrips;
                    controller.reset();
                    view = FakeView();
                    timers = FakeTimers();
                    controller = std::make_unique<ExperimentController>(ports);
                    controller->Form_Activate();
                    tallySum = 0;
                    expect = Expect::Ready;
                    check("the return from help");
                }
            } else {
                startTrial(false);
            }

            if (trials == 1000 && allocationsAtTrial1000 < 0) {
                allocationsAtTrial1000 = static_cast<long>(gLiveAllocations);
                residentAtTrial1000 = ResidentBytes();
            }
        }

        const long allocationsAtTheEnd = static_cast<long>(gLiveAllocations);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(programEnd.ends, 0);
        qInfo("%d trials, %d experiments ended, %d trips to help, %ld lines drawn", trials,
              experimentsEnded, helpTrips, board.lines);
        QVERIFY2(experimentsEnded > 20, qPrintable(QString::number(experimentsEnded)));
        QVERIFY(helpTrips > 5);
        QVERIFY(board.clears > 10000);
        QVERIFY(dialogs.prompts > experimentsEnded);
        QCOMPARE(allocationsAtTheEnd, allocationsAtTrial1000);
        if (kMeasureResidentSet) {
            QVERIFY2(ResidentBytes() - residentAtTrial1000 < 256 * 1024,
                     qPrintable(QString::number(ResidentBytes() - residentAtTrial1000)));
        }
    }
};

QTEST_GUILESS_MAIN(SoakTest)
#include "test_soak.moc"
