#include <QTest>

#include <set>
#include <utility>

#include "mixing_random_source.h"
#include "recording_board.h"
#include "rung_generation.h"
#include "scripted_random.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

class CountingBuildEnd final : public BuildEndListener {
  public:
    void LadderComplete() override { ++calls; }
    int calls = 0;
};

// A ladder build on recording fakes, reset as a trial start leaves it.
struct Build {
    explicit Build(Int16 rungTotal, RandomSource& random, Clock& clock)
        : generation(state, board, label, random, clock, buildEnd) {
        FormLoad(state);
        state.RungTotal = rungTotal;
        ResetTrial(state, false, board, label);
        board.ops.clear();
        label.sets = 0;
    }

    // Ticks until the ladder is handed over; returns the number of building ticks.
    int RunToHandOver(int limit = 100000) {
        int ticks = 0;
        while (buildEnd.calls == 0 && ticks <= limit) {
            generation.Timer1_Timer();
            ++ticks;
        }
        return ticks - 1;
    }

    ExperimentState state;
    RecordingBoard board;
    RecordingLabel label;
    CountingBuildEnd buildEnd;
    RungGeneration generation;
};

// Checks the ladder invariants of a finished build; returns an empty text when they hold.
QByteArray LadderFault(const Build& build) {
    const ExperimentState& s = build.state;
    if (s.RungNo != s.RungTotal + 1) {
        return "RungNo is not RungTotal + 1";
    }
    std::set<std::pair<int, int>> seen;
    std::vector<BoardOp> expectedLines;
    for (int k = 1; k <= s.RungTotal; ++k) {
        const int x = s.RungColumn[k];
        if (x < 2 || x > 10) {
            return "left column out of range at " + QByteArray::number(k);
        }
        const int y = x % 2 == 0 ? s.RungYEven[k] : s.RungYOdd[k];
        const bool parityHolds =
            x % 2 == 0 ? (y % 2 == 1 && y >= 11 && y <= 59) : (y % 2 == 0 && y >= 12 && y <= 60);
        if (!parityHolds) {
            return "height of the wrong parity or range at " + QByteArray::number(k);
        }
        if (!seen.insert({x, y}).second) {
            return "two equal rungs, the second at " + QByteArray::number(k);
        }
        expectedLines.push_back(LineOp(x, y, x + 1, y, PaletteColour::Black));
    }
    if (build.board.ops != expectedLines) {
        return "the board does not show exactly the accepted rungs in order";
    }
    return {};
}

}  // namespace

class RungGenerationTest : public QObject {
    Q_OBJECT

  private slots:
    void aBuildingTickShowsTheRungNumberAndDrawsTheRung_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("height");
        QTest::newRow("even column, lowest odd height") << 2 << 11;
        QTest::newRow("even column, highest odd height") << 10 << 59;
        QTest::newRow("odd column, lowest even height") << 3 << 12;
        QTest::newRow("odd column, highest even height") << 9 << 60;
        QTest::newRow("middle of the board") << 6 << 35;
    }
    void aBuildingTickShowsTheRungNumberAndDrawsTheRung() {
        QFETCH(int, column);
        QFETCH(int, height);
        ScriptedRandom random;
        SteppingClock clock(4321.5f);
        Build build(10, random, clock);
        random.QueueRung(column, height);
        build.generation.Timer1_Timer();

        QCOMPARE(build.label.caption, std::string("1"));
        QCOMPARE(random.seeds, std::vector<float>{4321.5f});
        QCOMPARE(build.state.RungNo, Int16{2});
        QCOMPARE(build.state.RungColumn[1], Int16(column));
        const bool even = column % 2 == 0;
        QCOMPARE((even ? build.state.RungYEven : build.state.RungYOdd)[1], Int16(height));
        QCOMPARE((even ? build.state.RungYOdd : build.state.RungYEven)[1], Int16{0});
        QCOMPARE(build.board.ops.size(), std::size_t{1});
        QVERIFY(build.board.ops[0] ==
                LineOp(column, height, column + 1, height, PaletteColour::Black));
    }

    void valuesJustBelowABinEdgeStayInTheirBin_data() {
        QTest::addColumn<float>("columnValue");
        QTest::addColumn<float>("heightValue");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("height");
        QTest::newRow("just below one") << 0.99999994f << 0.99999994f << 10 << 59;
        // 25 * 0.04f is 0.99999998 in double precision but rounds to 1 in single precision.
        QTest::newRow("just below the second height") << 0.0f << 0.04f << 2 << 11;
    }
    void valuesJustBelowABinEdgeStayInTheirBin() {
        QFETCH(float, columnValue);
        QFETCH(float, heightValue);
        QFETCH(int, column);
        QFETCH(int, height);
        ScriptedRandom random;
        SteppingClock clock;
        Build build(10, random, clock);
        random.values = {columnValue, heightValue};
        build.generation.Timer1_Timer();
        QCOMPARE(build.state.RungColumn[1], Int16(column));
        QCOMPARE(build.state.RungYEven[1], Int16(height));
    }

    void aRejectedDuplicateLeavesBoardRungNoAndLabelAsTheyWere() {
        ScriptedRandom random;
        SteppingClock clock;
        Build build(10, random, clock);
        random.QueueRung(5, 30);
        random.QueueRung(6, 31);
        build.generation.Timer1_Timer();
        build.generation.Timer1_Timer();
        const auto opsBefore = build.board.ops;

        random.QueueRung(5, 30);  // the same rung as rung 1
        build.generation.Timer1_Timer();
        QCOMPARE(build.state.RungNo, Int16{3});
        QCOMPARE(build.label.caption, std::string("3"));
        QVERIFY(build.board.ops == opsBefore);
        // The pick stays stored until a later tick overwrites it.
        QCOMPARE(build.state.RungColumn[3], Int16{5});
        QCOMPARE(build.state.RungYOdd[3], Int16{30});

        // The next pick, of the other parity, takes the same index; the rejected height is left.
        random.QueueRung(8, 41);
        build.generation.Timer1_Timer();
        QCOMPARE(build.state.RungNo, Int16{4});
        QCOMPARE(build.state.RungColumn[3], Int16{8});
        QCOMPARE(build.state.RungYEven[3], Int16{41});
        QCOMPARE(build.state.RungYOdd[3], Int16{30});
        QCOMPARE(build.label.caption, std::string("3"));
        QCOMPARE(random.seeds.size(), std::size_t{4});
    }

    void aRungOfTheOtherParityAtAStaleHeightIsNoDuplicate() {
        // Rung 2 was rejected once with height 30 in RungYOdd, then placed on column 8. A later
        // pick of column 5 at height 30 must not take that stale entry for a standing rung.
        ScriptedRandom random;
        SteppingClock clock;
        Build build(10, random, clock);
        random.QueueRung(5, 30);
        random.QueueRung(5, 30);
        random.QueueRung(8, 41);
        random.QueueRung(7, 30);
        for (int i = 0; i < 4; ++i) {
            build.generation.Timer1_Timer();
        }
        QCOMPARE(build.state.RungNo, Int16{4});
        QCOMPARE(build.state.RungColumn[3], Int16{7});
    }

    void equalHeightsOnPairsTwoApartAreBothKept() {
        ScriptedRandom random;
        SteppingClock clock;
        Build build(10, random, clock);
        random.QueueRung(2, 25);
        random.QueueRung(4, 25);
        build.generation.Timer1_Timer();
        build.generation.Timer1_Timer();
        QCOMPARE(build.state.RungNo, Int16{3});
    }

    void theTickAfterTheLastRungHandsOverAndTouchesNothing() {
        ScriptedRandom random;
        SteppingClock clock;
        Build build(10, random, clock);
        for (int k = 0; k < 10; ++k) {
            random.QueueRung(2 + k % 9, k % 2 == 0 ? 11 + 2 * k : 12 + 2 * k);
        }
        for (int k = 0; k < 10; ++k) {
            build.generation.Timer1_Timer();
        }
        QCOMPARE(build.buildEnd.calls, 0);
        QCOMPARE(build.label.caption, std::string("10"));
        const int labelSets = build.label.sets;
        const ExperimentState before = build.state;

        build.generation.Timer1_Timer();
        QCOMPARE(build.buildEnd.calls, 1);
        QCOMPARE(build.label.sets, labelSets);
        QCOMPARE(random.seeds.size(), std::size_t{10});
        QCOMPARE(build.state.RungNo, before.RungNo);
        QVERIFY(build.state.RungColumn == before.RungColumn);
        QCOMPARE(build.board.ops.size(), std::size_t{10});
    }

    void tenThousandRandomBuildsKeepTheLadderInvariants() {
        MixingRandomSource random(20261207);
        SteppingClock clock(50000.0f, 0.003);
        for (int b = 0; b < 10000; ++b) {
            const auto total = static_cast<Int16>(10 + b % 41);
            Build build(total, random, clock);
            build.RunToHandOver();
            const QByteArray fault = LadderFault(build);
            QVERIFY2(fault.isEmpty(), (fault + " in build " + QByteArray::number(b)).constData());
        }
    }

    void aFrozenClockDoesNotStallTheBuild() {
        // The same time value at every re-seed: each tick must still pick a fresh rung.
        MixingRandomSource random(7);
        SteppingClock frozen(43210.125f, 0.0);
        const int builds = 4000;
        long long ticks = 0;
        for (int b = 0; b < builds; ++b) {
            Build build(50, random, frozen);
            ticks += build.RunToHandOver();
            QVERIFY(LadderFault(build).isEmpty());
        }
        const double mean = static_cast<double>(ticks) / builds;
        QVERIFY2(std::abs(mean - 56.40) < 0.02 * 56.40, QByteArray::number(mean).constData());
    }

    void reseedingWithTheSameValueStillMovesTheSequenceOn() {
        MixingRandomSource random(99);
        std::set<float> values;
        for (int i = 0; i < 1000; ++i) {
            random.Reseed(1234.5f);
            values.insert(random.Next());
        }
        QVERIFY(values.size() > 990);
    }

    void equalSeedsGiveEqualSequences() {
        MixingRandomSource a(5);
        MixingRandomSource b(5);
        MixingRandomSource c(6);
        bool differs = false;
        for (int i = 0; i < 100; ++i) {
            a.Reseed(static_cast<float>(i));
            b.Reseed(static_cast<float>(i));
            c.Reseed(static_cast<float>(i));
            const float va = a.Next();
            QCOMPARE(va, b.Next());
            differs = differs || va != c.Next();
            QVERIFY(va >= 0.0f && va < 1.0f);
        }
        QVERIFY(differs);
    }
};

QTEST_APPLESS_MAIN(RungGenerationTest)
#include "test_rung_generation.moc"
