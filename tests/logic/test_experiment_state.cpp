#include <QTest>

#include "experiment_state.h"
#include "recording_board.h"

using namespace hashigoro;
using namespace hashigoro::testing;

class ExperimentStateTest : public QObject {
    Q_OBJECT

  private slots:
    void loadGivesTheMarkerItsStartAndEmptyTallies() {
        ExperimentState state;
        state.Tally(7) = 5;
        state.MarkerY = -99;
        FormLoad(state);
        QCOMPARE(state.MarkerY, Int16{10});
        QCOMPARE(state.MarkerColumn, Int16{4});
        QCOMPARE(state.RungNo, Int16{1});
        QCOMPARE(state.CandCount, Int16{0});
        QCOMPARE(state.RungTotal, Int16{0});
        for (int c = 2; c <= 11; ++c) {
            QCOMPARE(state.Tally(c), Int16{0});
        }
    }

    void ladderLinesAreTenBlackVerticalsDrawnLeftToRightWithoutAClear() {
        RecordingBoard board;
        DrawLadderLines(board);
        QCOMPARE(board.ops.size(), std::size_t{10});
        for (int i = 0; i < 10; ++i) {
            const float x = static_cast<float>(i + 2);
            QVERIFY2(board.ops[i] == LineOp(x, 10, x, 61, PaletteColour::Black),
                     Describe(board.ops[i]).c_str());
        }
    }

    void resetClearsTheBoardDrawsTheLinesAndEmptiesTheLabel() {
        ExperimentState state;
        FormLoad(state);
        RecordingBoard board;
        RecordingLabel label;
        label.caption = "37";
        ResetTrial(state, false, board, label);
        QCOMPARE(board.ops.size(), std::size_t{11});
        QVERIFY(board.ops.front() == ClearOp());
        QVERIFY(board.ops[1] == LineOp(2, 10, 2, 61, PaletteColour::Black));
        QVERIFY(board.ops[10] == LineOp(11, 10, 11, 61, PaletteColour::Black));
        QCOMPARE(label.caption, std::string());
        QCOMPARE(label.sets, 1);
    }

    void resetPutsTheMarkerBackWhereverTheDescentLeftIt() {
        ExperimentState state;
        FormLoad(state);
        state.MarkerColumn = 9;
        state.MarkerY = -99;
        state.RungNo = 31;
        state.CandCount = 3;
        RecordingBoard board;
        RecordingLabel label;
        ResetTrial(state, false, board, label);
        QCOMPARE(state.MarkerColumn, Int16{4});
        QCOMPARE(state.MarkerY, Int16{10});
        QCOMPARE(state.RungNo, Int16{1});
        QCOMPARE(state.CandCount, Int16{0});
    }

    void resetKeepsOrClearsTheTallies_data() {
        QTest::addColumn<bool>("clearTallies");
        QTest::addColumn<int>("expected");
        QTest::newRow("trial start keeps them") << false << 13;
        QTest::newRow("initialise clears them") << true << 0;
    }
    void resetKeepsOrClearsTheTallies() {
        QFETCH(bool, clearTallies);
        QFETCH(int, expected);
        ExperimentState state;
        FormLoad(state);
        for (int c = 2; c <= 11; ++c) {
            state.Tally(c) = 13;
        }
        RecordingBoard board;
        RecordingLabel label;
        ResetTrial(state, clearTallies, board, label);
        for (int c = 2; c <= 11; ++c) {
            QCOMPARE(state.Tally(c), Int16(expected));
        }
    }

    void resetAfterALongLadderClearsOnlyTheRungsOfTheCountInForce() {
        ExperimentState state;
        FormLoad(state);
        for (Int16 k = 0; k <= 100; ++k) {
            state.RungColumn[k] = 5;
            state.RungYEven[k] = 33;
            state.RungYOdd[k] = 34;
            state.CandY[k] = 21;
            state.CandDir[k] = 1;
        }
        state.RungTotal = 10;  // a 50-rung ladder stood before; now ten rungs are in force
        RecordingBoard board;
        RecordingLabel label;
        ResetTrial(state, false, board, label);
        for (int k = 0; k <= 100; ++k) {
            const Int16 column = (k >= 1 && k <= 10) ? 0 : 5;
            QCOMPARE(state.RungColumn[k], column);
            QCOMPARE(state.RungYEven[k], Int16(column == 0 ? 0 : 33));
            QCOMPARE(state.RungYOdd[k], Int16(column == 0 ? 0 : 34));
            QCOMPARE(state.CandY[k], Int16{21});
            QCOMPARE(state.CandDir[k], Int16{1});
        }
    }
};

QTEST_APPLESS_MAIN(ExperimentStateTest)
#include "test_experiment_state.moc"
