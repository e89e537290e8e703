#include <QTest>

#include "fake_timers.h"
#include "ladder_fixture.h"
#include "marker_descent.h"
#include "recording_board.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

constexpr auto kRed = PaletteColour::LightRed;

class RecordingArrival final : public ArrivalListener {
  public:
    explicit RecordingArrival(const FakeTimers& timers) : timers_(timers) {}
    void Arrival(Int16 column) override {
        columns.push_back(column);
        timer2OnAtArrival = timers_.IsOn(Timer::Timer2);
    }
    std::vector<int> columns;
    bool timer2OnAtArrival = true;

  private:
    const FakeTimers& timers_;
};

struct Descent {
    Descent() : arrival(timers), descent(state, board, timers, arrival) {
        timers.SetTimerEnabled(Timer::Timer2, true);
    }

    // Ticks until the arrival; returns the number of ticks.
    int RunToArrival() {
        int ticks = 0;
        while (timers.IsOn(Timer::Timer2) && ticks < 100) {
            descent.Timer2_Timer();
            ++ticks;
        }
        return ticks;
    }

    ExperimentState state;
    RecordingBoard board;
    FakeTimers timers;
    RecordingArrival arrival;
    MarkerDescent descent;
};

void CompareOps(const std::vector<BoardOp>& actual, const std::vector<BoardOp>& expected) {
    QCOMPARE(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QVERIFY2(actual[i] == expected[i],
                 (Describe(actual[i]) + " instead of " + Describe(expected[i])).c_str());
    }
}

}  // namespace

class MarkerDescentTest : public QObject {
    Q_OBJECT

  private slots:
    void theWorkedExampleArrivesInColumnTwoInThreeTicks() {
        Descent d;
        // Rung 5 on the far right touches none of columns 2 to 4.
        LayLadder(d.state, {{4, 33}, {3, 20}, {2, 45}, {3, 50}, {9, 14}});

        d.descent.Timer2_Timer();
        CompareOps(d.board.ops, {LineOp(4, 10, 4, 20, kRed), LineOp(3, 20, 4, 20, kRed)});
        QCOMPARE(d.state.MarkerColumn, Int16{3});
        QCOMPARE(d.state.MarkerY, Int16{20});

        d.board.ops.clear();
        d.descent.Timer2_Timer();
        CompareOps(d.board.ops, {LineOp(3, 20, 3, 45, kRed), LineOp(2, 45, 3, 45, kRed)});
        QCOMPARE(d.state.MarkerColumn, Int16{2});
        QCOMPARE(d.state.MarkerY, Int16{45});
        QVERIFY(d.arrival.columns.empty());

        d.board.ops.clear();
        d.descent.Timer2_Timer();
        CompareOps(d.board.ops, {LineOp(2, 45, 2, 61, kRed)});
        QCOMPARE(d.arrival.columns, std::vector<int>{2});
        QVERIFY(!d.arrival.timer2OnAtArrival);
        QVERIFY(!d.timers.IsOn(Timer::Timer2));
        QCOMPARE(d.state.MarkerColumn, Int16{2});
        QCOMPARE(d.state.MarkerY, Int16{-99});
    }

    void candidateSlotsAreEmptyAfterEveryTick() {
        Descent d;
        LayLadder(d.state, {{4, 33}, {3, 20}, {2, 45}, {3, 50}});
        d.state.CandY.fill(7);
        d.state.CandDir.fill(7);
        while (d.timers.IsOn(Timer::Timer2)) {
            d.descent.Timer2_Timer();
            for (int i = 1; i <= d.state.RungTotal; ++i) {
                QCOMPARE(d.state.CandY[i], Int16{-99});
                QCOMPARE(d.state.CandDir[i], Int16{-99});
            }
            QCOMPARE(d.state.CandY[0], Int16{7});
            QCOMPARE(d.state.CandY[d.state.RungTotal + 1], Int16{7});
        }
    }

    void aMarkerWithNoRungOnItsLineFallsStraightToTheBottom_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("y");
        QTest::newRow("start point, no rung touches column 4") << 4 << 10;
        QTest::newRow("from an earlier arrival on column 6") << 6 << -99;
    }
    void aMarkerWithNoRungOnItsLineFallsStraightToTheBottom() {
        QFETCH(int, column);
        QFETCH(int, y);
        Descent d;
        LayLadder(d.state, {{2, 11}, {8, 59}, {9, 20}, {10, 33}, {2, 47}});
        d.state.MarkerColumn = static_cast<Int16>(column);
        d.state.MarkerY = static_cast<Int16>(y);
        QCOMPARE(d.RunToArrival(), 1);
        CompareOps(d.board.ops, {LineOp(column, y, column, 61, kRed)});
        QCOMPARE(d.arrival.columns, std::vector<int>{column});
    }

    void aDescentFromAboveTheBoardTakesTheTopmostRungOfItsLine() {
        Descent d;
        LayLadder(d.state, {{6, 41}, {5, 16}, {6, 13}});
        d.state.MarkerColumn = 6;
        d.state.MarkerY = -99;
        d.descent.Timer2_Timer();
        CompareOps(d.board.ops, {LineOp(6, -99, 6, 13, kRed), LineOp(6, 13, 7, 13, kRed)});
        QCOMPARE(d.state.MarkerColumn, Int16{7});
    }

    void candidatesAreTakenByHeightNotByRungNumber() {
        Descent d;
        // Rung 1 is far down on the right, rung 4 is the nearest, on the left.
        LayLadder(d.state, {{4, 57}, {3, 44}, {4, 23}, {3, 12}});
        d.descent.Timer2_Timer();
        CompareOps(d.board.ops, {LineOp(4, 10, 4, 12, kRed), LineOp(3, 12, 4, 12, kRed)});
        QCOMPARE(d.state.MarkerColumn, Int16{3});
        QCOMPARE(d.state.MarkerY, Int16{12});
    }

    void theLowestRungOfAnOddPairLeavesAOneUnitLastStretch() {
        Descent d;
        LayLadder(d.state, {{3, 60}});
        QCOMPARE(d.RunToArrival(), 2);
        CompareOps(d.board.ops, {LineOp(4, 10, 4, 60, kRed), LineOp(3, 60, 4, 60, kRed),
                                 LineOp(3, 60, 3, 61, kRed)});
        QCOMPARE(d.arrival.columns, std::vector<int>{3});
    }

    void theEdgeColumnsAreNeverLeft_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("arrival");
        QTest::newRow("column 2 has no rung to its left") << 2 << 3;
        QTest::newRow("column 11 has no rung to its right") << 11 << 10;
    }
    void theEdgeColumnsAreNeverLeft() {
        QFETCH(int, start);
        QFETCH(int, arrival);
        Descent d;
        // On each edge, only the rung into the board leads anywhere.
        LayLadder(d.state, {{2, 31}, {10, 37}});
        d.state.MarkerColumn = static_cast<Int16>(start);
        QCOMPARE(d.RunToArrival(), 2);
        QCOMPARE(d.arrival.columns, std::vector<int>{arrival});
    }

    void aStaleHeightInTheOtherArrayIsNeverTakenForARung() {
        Descent d;
        LayLadder(d.state, {{4, 33}});
        d.state.RungYOdd[1] = 20;  // a rejected pick of the other parity once stood here
        d.descent.Timer2_Timer();
        CompareOps(d.board.ops, {LineOp(4, 10, 4, 33, kRed), LineOp(4, 33, 5, 33, kRed)});
    }

    void aDescentNeverTakesMoreThanOneTickPerRungPlusTheArrival() {
        // A ladder whose rungs zig-zag the marker across every pair from top to bottom.
        Descent d;
        LayLadder(d.state, {{4, 11},
                            {5, 12},
                            {6, 13},
                            {7, 14},
                            {8, 15},
                            {9, 16},
                            {10, 17},
                            {10, 19},
                            {9, 20},
                            {8, 21},
                            {7, 22},
                            {6, 23},
                            {5, 24},
                            {4, 25},
                            {3, 26},
                            {2, 27}});
        QCOMPARE(d.RunToArrival(), 17);
        QCOMPARE(d.arrival.columns, std::vector<int>{2});
    }
};

QTEST_APPLESS_MAIN(MarkerDescentTest)
#include "test_marker_descent.moc"
