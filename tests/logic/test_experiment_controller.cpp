#include <QTest>

#include <functional>
#include <map>

#include "experiment_controller.h"
#include "fake_timers.h"
#include "fake_window.h"
#include "recording_board.h"
#include "scripted_random.h"
#include "window_snapshot.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

// Hands out a pattern of values over and over, so every trial builds the same ladder.
class RepeatingRandom final : public RandomSource {
  public:
    void Reseed(float) override {}
    float Next() override {
        const float r = pattern.at(next % pattern.size());
        ++next;
        return r;
    }
    // A ladder of `rungs` rungs that are all queued from one ScriptedRandom script.
    void Use(const ScriptedRandom& script) {
        pattern.assign(script.values.begin(), script.values.end());
        next = 0;
    }

    std::vector<float> pattern;
    std::size_t next = 0;
};

// Ten rungs on the pair of columns 8 and 9: the marker falls straight down column 4.
ScriptedRandom LadderToColumnFour() {
    ScriptedRandom script;
    for (int k = 0; k < 10; ++k) {
        script.QueueRung(8, 11 + 2 * k);
    }
    return script;
}

// One rung from column 4 to 5 and nine far away: every trial arrives in column 5.
ScriptedRandom LadderToColumnFive() {
    ScriptedRandom script;
    script.QueueRung(4, 11);
    for (int k = 0; k < 9; ++k) {
        script.QueueRung(9, 12 + 2 * k);
    }
    return script;
}

// Keeps every experiment the controller records.
struct RecordingResults final : ResultsLog {
    void Record(const FinishedExperiment& experiment) override { recorded.push_back(experiment); }
    void Stopped(const FinishedExperiment& sofar) override { stopped.push_back(sofar); }
    void Arrived(const FinishedExperiment& sofar) override { arrived.push_back(sofar.arrivals); }
    std::vector<FinishedExperiment> recorded;
    std::vector<FinishedExperiment> stopped;
    std::vector<std::vector<int>> arrived;  // the order so far, at each square
};

// The controller with fakes for everything around it, driven event by event as the event
// loop would.
struct Rig {
    Rig() { random.Use(LadderToColumnFour()); }

    void Activate(const std::string& entry = "10") {
        dialogs.entries.push_back(entry);
        controller.Form_Activate();
    }

    // One timer tick, of whichever of Timer1 and Timer2 is on.
    void Tick() {
        if (timers.IsOn(Timer::Timer1)) {
            controller.Timer1_Timer();
        } else if (timers.IsOn(Timer::Timer2)) {
            controller.Timer2_Timer();
        }
    }
    void TickWhile(const std::function<bool()>& condition) {
        for (int i = 0; i < 10000 && condition(); ++i) {
            Tick();
        }
    }
    void RunTrialToArrival() {
        TickWhile([this] { return timers.IsOn(Timer::Timer1) || timers.IsOn(Timer::Timer2); });
    }
    // Start, then as many trials as `trials`, each begun by a tick of Timer3.
    void RunTrials(int trials) {
        for (int t = 0; t < trials; ++t) {
            if (t == 0 && view.IsEnabled(Button::Command1)) {
                controller.Command1_Click();
            } else {
                controller.Timer3_Timer();
            }
            RunTrialToArrival();
        }
    }

    std::string Snapshot() const { return ButtonsAndTimers(view, timers); }

    // Empty when every shown square matches its tally.
    QByteArray SquaresFault() const {
        for (int c = 2; c <= 11; ++c) {
            for (int i = 1; i <= 20; ++i) {
                if (view.squares[c - 2][i - 1] != (i <= controller.State().Tally(c))) {
                    return "square " + QByteArray::number(i) + " of column " +
                           QByteArray::number(c);
                }
            }
        }
        return {};
    }

    RecordingBoard board;
    RecordingLabel label;
    FakeTimers timers;
    FakeView view;
    RecordingCue cue;
    ScriptedDialogs dialogs;
    FakeProgramEnd end;
    RepeatingRandom random;
    SteppingClock clock;
    RecordingResults results;
    ExperimentController controller{
        ControllerPorts{board, label, timers, view, cue, dialogs, end, random, clock, &results}};
};

// Brings a fresh rig into one of the controller's situations.
void Reach(Rig& rig, const QString& situation) {
    if (situation == "created") {
        return;
    }
    rig.Activate();
    if (situation == "ready") {
        return;
    }
    if (situation == "ended") {
        rig.RunTrials(21);  // twenty arrivals in column 4 fill its bar, the next one ends it
        return;
    }
    rig.controller.Command1_Click();
    if (situation == "building") {
        rig.TickWhile([&] { return rig.controller.State().RungNo < 5; });
        return;
    }
    if (situation == "descending") {
        rig.random.Use(LadderToColumnFive());
        rig.TickWhile([&] { return !rig.timers.IsOn(Timer::Timer2); });
        return;
    }
    rig.RunTrialToArrival();
    if (situation == "shown") {
        return;
    }
    rig.controller.Command5_Click();  // "stopped"
}

}  // namespace

class ExperimentControllerTest : public QObject {
    Q_OBJECT

  private slots:
    void everyEventLeavesTheButtonsAndTimersOfTheTable_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("expected");
        const char* rows[][3] = {
            {"created", "nothing", "12356|"},
            {"created", "activation", "136|"},
            {"ready", "start", "5|13"},
            {"building", "end of the build", "5|23"},
            {"descending", "arrival", "5|3"},
            {"shown", "next trial", "5|13"},
            {"building", "next trial", "5|13"},
            {"descending", "next trial", "5|13"},
            {"building", "stop", "1346|"},
            {"descending", "stop", "1346|"},
            {"shown", "stop", "1346|"},
            {"stopped", "start", "5|13"},
            {"stopped", "initialise", "136|"},
            {"ended", "initialise", "136|"},
            {"ready", "quit answered No", "136|"},
            {"stopped", "quit answered No", "1346|"},
            {"ended", "quit answered No", "346|"},
            {"ended", "nothing", "346|"},
        };
        for (const auto& row : rows) {
            QTest::addRow("%s, %s", row[0], row[1]) << row[0] << row[1] << row[2];
        }
    }
    void everyEventLeavesTheButtonsAndTimersOfTheTable() {
        QFETCH(QString, situation);
        QFETCH(QString, event);
        QFETCH(QString, expected);
        Rig rig;
        Reach(rig, situation);
        const std::map<QString, std::function<void()>> events = {
            {"nothing", [] {}},
            {"activation", [&] { rig.Activate(); }},
            {"start", [&] { rig.controller.Command1_Click(); }},
            {"end of the build",
             [&] { rig.TickWhile([&] { return rig.timers.IsOn(Timer::Timer1); }); }},
            {"arrival", [&] { rig.RunTrialToArrival(); }},
            {"next trial", [&] { rig.controller.Timer3_Timer(); }},
            {"stop", [&] { rig.controller.Command5_Click(); }},
            {"initialise",
             [&] {
                 rig.dialogs.entries.push_back("20");
                 rig.controller.Command4_Click();
             }},
            {"quit answered No",
             [&] {
                 rig.dialogs.answers.push_back(kAnswerNo);
                 rig.controller.Command3_Click();
             }},
        };
        events.at(event)();
        QCOMPARE(QString::fromStdString(rig.Snapshot()), expected);
        QVERIFY(rig.SquaresFault().isEmpty());
    }

    void whileAPromptIsOpenOnlyItsButtonsCanBeUsed_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("activation") << "created"
                                    << "6|";
        QTest::newRow("initialise after stop") << "stopped"
                                               << "36|";
        QTest::newRow("initialise after the end") << "ended"
                                                  << "36|";
    }
    void whileAPromptIsOpenOnlyItsButtonsCanBeUsed() {
        QFETCH(QString, situation);
        QFETCH(QString, expected);
        Rig rig;
        Reach(rig, situation);
        std::string duringPrompt;
        rig.dialogs.onInput = [&] { duringPrompt = rig.Snapshot(); };
        rig.dialogs.entries.push_back("20");
        if (situation == "created") {
            rig.controller.Form_Activate();
        } else {
            rig.controller.Command4_Click();
        }
        QCOMPARE(QString::fromStdString(duringPrompt), expected);
    }

    void activationPaintsDrawsTheLinesOnTheBoardAndAsksForTheRungCount() {
        Rig rig;
        rig.dialogs.onInput = [&] {
            QCOMPARE(rig.view.pendingEventRuns, 1);
            QCOMPARE(rig.board.ops.size(), std::size_t{10});
        };
        rig.Activate("25");
        QCOMPARE(rig.controller.State().RungTotal, Int16{25});
        QVERIFY(rig.board.ops.front() == LineOp(2, 10, 2, 61, PaletteColour::Black));
    }

    void quittingInsideThePromptNeverEnablesStart() {
        Rig rig;
        rig.dialogs.entries = {""};
        rig.dialogs.answers = {kAnswerYes};
        rig.controller.Form_Activate();
        QCOMPARE(rig.end.ends, 1);
        QVERIFY(!rig.view.IsEnabled(Button::Command1));
        QVERIFY(!rig.view.IsEnabled(Button::Command3));

        Rig initialised;
        Reach(initialised, "stopped");
        initialised.dialogs.entries = {""};
        initialised.dialogs.answers = {kAnswerYes};
        initialised.controller.Command4_Click();
        QCOMPARE(initialised.end.ends, 1);
        QVERIFY(!initialised.view.IsEnabled(Button::Command1));
    }

    void theTwentiethArrivalFillsTheBarAndTheNextOneEndsTheExperiment() {
        Rig rig;
        rig.Activate();
        rig.random.Use(LadderToColumnFive());
        rig.RunTrials(3);
        QCOMPARE(rig.controller.State().Tally(5), Int16{3});

        rig.random.Use(LadderToColumnFour());
        for (int t = 1; t <= 20; ++t) {
            rig.controller.Timer3_Timer();
            rig.RunTrialToArrival();
            QCOMPARE(rig.controller.State().Tally(4), Int16(t));
            QVERIFY(rig.SquaresFault().isEmpty());
        }
        QVERIFY(rig.view.squares[2][19]);
        QCOMPARE(QString::fromStdString(rig.Snapshot()), QString("5|3"));

        const int changes = rig.view.squareChanges;
        QVERIFY(rig.view.endedBars.empty());
        rig.controller.Timer3_Timer();
        rig.RunTrialToArrival();
        QCOMPARE(rig.view.endedBars, std::vector<int>{3});  // bar o3, the column-4 bar
        QCOMPARE(rig.controller.State().Tally(4), Int16{20});
        QCOMPARE(rig.controller.State().Tally(5), Int16{3});
        QCOMPARE(rig.view.squareChanges, changes);
        QCOMPARE(QString::fromStdString(rig.Snapshot()), QString("346|"));
        // The last stretch of the arrival that ended it still stands on the board.
        QVERIFY(rig.board.ops.back() == LineOp(4, 10, 4, 61, PaletteColour::LightRed));
        QVERIFY(rig.SquaresFault().isEmpty());
    }

    void stoppingMidTrialKeepsTheBarsAndStartBeginsAFreshTrial_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("during the build") << "building";
        QTest::newRow("during the descent") << "descending";
    }
    void stoppingMidTrialKeepsTheBarsAndStartBeginsAFreshTrial() {
        QFETCH(QString, situation);
        Rig rig;
        rig.Activate();
        rig.RunTrials(2);
        rig.controller.Timer3_Timer();
        if (situation == "building") {
            rig.TickWhile([&] { return rig.controller.State().RungNo < 5; });
        } else {
            rig.TickWhile([&] { return !rig.timers.IsOn(Timer::Timer2); });
        }
        const auto shownBeforeStop = rig.board.Shown();
        rig.controller.Command5_Click();
        QVERIFY(rig.board.Shown() == shownBeforeStop);  // the partial drawing stays

        rig.controller.Command1_Click();
        QCOMPARE(rig.board.Shown().size(), std::size_t{10});  // only the ten lines
        QCOMPARE(rig.label.caption, std::string());
        QCOMPARE(rig.controller.State().Tally(4), Int16{2});
        rig.RunTrialToArrival();
        QCOMPARE(rig.controller.State().Tally(4), Int16{3});
        QVERIFY(rig.SquaresFault().isEmpty());
    }

    void stoppingAfterAnArrivalKeepsItCounted() {
        Rig rig;
        Reach(rig, "shown");
        rig.controller.Command5_Click();
        QCOMPARE(rig.controller.State().Tally(4), Int16{1});
        QVERIFY(rig.view.squares[2][0]);
    }

    void initialiseEmptiesTheBarsAndTheBoardAndAsksAgain_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("after stop") << "stopped";
        QTest::newRow("after the end") << "ended";
    }
    void initialiseEmptiesTheBarsAndTheBoardAndAsksAgain() {
        QFETCH(QString, situation);
        Rig rig;
        Reach(rig, situation);
        QVERIFY(rig.controller.State().Tally(4) > 0);
        const int asked = rig.dialogs.Count(DialogCall::Kind::Input);
        rig.dialogs.entries = {"35"};
        rig.controller.Command4_Click();
        QCOMPARE(rig.cue.played.back(), std::string("pinpon.wav"));
        QCOMPARE(rig.view.pointers,
                 (std::vector<MousePointer>{MousePointer::Hourglass, MousePointer::Arrow}));
        for (int c = 2; c <= 11; ++c) {
            QCOMPARE(rig.controller.State().Tally(c), Int16{0});
            QCOMPARE(rig.view.SquaresShown(c - 1), 0);
        }
        QCOMPARE(rig.board.Shown().size(), std::size_t{10});
        QCOMPARE(rig.label.caption, std::string());
        QCOMPARE(rig.dialogs.Count(DialogCall::Kind::Input), asked + 1);
        QCOMPARE(rig.controller.State().RungTotal, Int16{35});
    }

    void aNextTrialDuringTheBuildStartsAgainFromRungOne() {
        Rig rig;
        Reach(rig, "building");
        QVERIFY(rig.controller.State().RungNo > 1);
        rig.controller.Timer3_Timer();
        QCOMPARE(rig.controller.State().RungNo, Int16{1});
        QCOMPARE(rig.board.Shown().size(), std::size_t{10});
        QCOMPARE(rig.label.caption, std::string());
        QVERIFY(rig.timers.IsOn(Timer::Timer1));
    }

    // From a bug: a trial that started while the previous descent was still under way let that
    // descent go on over the ladder being rebuilt and counted its arrival (mostly in column 4,
    // where no new rung stood yet), and a second descent then started from above the board.
    void aNextTrialDuringADescentStopsItSoEachTrialCountsOnce() {
        Rig rig;
        Reach(rig, "descending");
        rig.random.Use(LadderToColumnFive());
        rig.controller.Timer3_Timer();
        QVERIFY(!rig.timers.IsOn(Timer::Timer2));
        QCOMPARE(rig.controller.State().MarkerColumn, Int16{4});
        QCOMPARE(rig.controller.State().MarkerY, Int16{10});
        rig.RunTrialToArrival();
        int total = 0;
        for (int c = 2; c <= 11; ++c) {
            total += rig.controller.State().Tally(c);
        }
        QCOMPARE(total, 1);
        QCOMPARE(rig.controller.State().Tally(5), Int16{1});
        // The path starts at the top of column 4, not above the board.
        const auto shown = rig.board.Shown();
        QCOMPARE(shown.size(), std::size_t{10 + 10 + 3});
        QVERIFY(shown[20] == LineOp(4, 10, 4, 11, PaletteColour::LightRed));
    }

    void quitPlaysItsChimeAndAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("ends");
        QTest::newRow("Yes ends the program") << int{kAnswerYes} << 1;
        QTest::newRow("No changes nothing") << int{kAnswerNo} << 0;
    }
    void quitPlaysItsChimeAndAsksFirst() {
        QFETCH(int, answer);
        QFETCH(int, ends);
        Rig rig;
        Reach(rig, "stopped");
        const auto shown = rig.board.Shown();
        rig.dialogs.answers = {static_cast<std::int16_t>(answer)};
        rig.controller.Command3_Click();
        QCOMPARE(rig.cue.played, std::vector<std::string>{"endpinpon.wav"});
        QCOMPARE(rig.dialogs.calls.back().text, std::string("終了していいですか？"));
        QCOMPARE(rig.dialogs.calls.back().title, std::string("はしごろう"));
        QCOMPARE(rig.controller.State().Answer, Int16(answer));
        QCOMPARE(rig.end.ends, ends);
        QVERIFY(rig.board.Shown() == shown);
        QCOMPARE(QString::fromStdString(rig.Snapshot()), QString("1346|"));
    }

    void helpPlaysTheChimeAndSwitchesWindows() {
        Rig rig;
        Reach(rig, "ready");
        rig.controller.Command6_Click();
        QCOMPARE(rig.cue.played, std::vector<std::string>{"pinpon.wav"});
        QCOMPARE(rig.view.helpSwitches, 1);
    }

    // Each experiment is recorded once, when it ends or when its tallies are given up after an
    // arrival; a stop, which may be resumed, records nothing.
    void eachExperimentIsRecordedOnce_data() {
        QTest::addColumn<int>("trials");
        QTest::addColumn<QString>("then");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("fullLine");
        QTest::newRow("stopped only") << 2 << "stop" << 0 << 0;
        QTest::newRow("initialised after an arrival") << 2 << "initialise" << 1 << 0;
        QTest::newRow("initialised before any arrival") << 0 << "initialise" << 0 << 0;
        QTest::newRow("help after an arrival") << 3 << "help" << 1 << 0;
        QTest::newRow("quit, answered no") << 1 << "quit no" << 0 << 0;
        QTest::newRow("quit, answered yes") << 1 << "quit yes" << 1 << 0;
        QTest::newRow("ended by a full bar") << 21 << "" << 1 << 3;
        QTest::newRow("ended, then initialised") << 21 << "initialise" << 1 << 3;
        QTest::newRow("ended, then quit") << 21 << "quit yes" << 1 << 3;
        QTest::newRow("left after an arrival") << 2 << "leave" << 1 << 0;
        QTest::newRow("left before any arrival") << 0 << "leave" << 0 << 0;
        QTest::newRow("left after it ended") << 21 << "leave" << 1 << 3;
        QTest::newRow("left, back, and left again") << 2 << "leave again" << 2 << 0;
    }
    void eachExperimentIsRecordedOnce() {
        QFETCH(int, trials);
        QFETCH(QString, then);
        QFETCH(int, records);
        QFETCH(int, fullLine);
        Rig rig;
        rig.Activate("10");
        if (trials > 0) {
            rig.RunTrials(trials);
        }
        if (trials < 21) {
            rig.controller.Command5_Click();
        }
        rig.dialogs.entries.push_back("10");
        rig.dialogs.answers.push_back(then.endsWith("yes") ? kAnswerYes : kAnswerNo);
        if (then == "initialise") {
            rig.controller.Command4_Click();
        } else if (then == "help") {
            rig.controller.Command6_Click();
        } else if (then.startsWith("quit")) {
            rig.controller.Command3_Click();
        } else if (then.startsWith("leave")) {
            QCOMPARE(rig.controller.RecordBeforeLeaving(), trials > 0 && trials < 21);
            if (then.endsWith("again")) {
                rig.controller.LeavingUndone();
                QCOMPARE(rig.controller.RecordBeforeLeaving(), true);
            }
        }
        QCOMPARE(static_cast<int>(rig.results.recorded.size()), records);
        // A stop shows the experiment so far, when it has had an arrival.
        QCOMPARE(static_cast<int>(rig.results.stopped.size()), trials > 0 && trials < 21 ? 1 : 0);
        if (records > 0) {
            const FinishedExperiment& recorded = rig.results.recorded.front();
            QCOMPARE(recorded.rungs, 10);
            QCOMPARE(recorded.fullLine, fullLine);
            QCOMPARE(recorded.tallies[2], std::min(trials, 20));  // every arrival in line 3
            // Each square in turn, the one that found the bar full in none.
            QCOMPARE(recorded.arrivals,
                     std::vector<int>(static_cast<std::size_t>(std::min(trials, 20)), 3));
        }
        // A window may follow each square as it comes, and only squares.
        QCOMPARE(static_cast<int>(rig.results.arrived.size()), std::min(trials, 20));
        if (trials > 0) {
            QCOMPARE(rig.results.arrived.front(), std::vector<int>{3});
        }
        if (then == "initialise") {
            // The new experiment starts unrecorded: its own arrivals are recorded in turn.
            rig.RunTrials(1);
            rig.controller.Command5_Click();
            rig.dialogs.answers.assign({kAnswerYes});
            rig.controller.Command3_Click();
            QCOMPARE(static_cast<int>(rig.results.recorded.size()), records + 1);
            QCOMPARE(rig.results.recorded.back().rungs, 10);
            QCOMPARE(rig.results.recorded.back().arrivals, std::vector<int>{3});
        }
    }
};

QTEST_APPLESS_MAIN(ExperimentControllerTest)
#include "test_experiment_controller.moc"
