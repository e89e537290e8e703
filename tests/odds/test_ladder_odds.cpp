#include <QTest>

#include <algorithm>
#include <functional>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "arrival_simulation.h"
#include "fixed_clock.h"
#include "ladder_odds.h"
#include "mixing_random_source.h"

using namespace hashigoro;

namespace {

// Where a marker starting at `start` arrives on the ladder made of `ladder` (0..224: line pair
// slot / 25, height slot % 25), walked the plain way: rung by rung in order of height.
int Walk(int start, std::vector<int> ladder) {
    const auto left = [](int slot) { return 2 + slot / 25; };
    const auto height = [&](int slot) { return 2 * (slot % 25) + (left(slot) % 2 == 0 ? 11 : 12); };
    std::sort(ladder.begin(), ladder.end(), [&](int a, int b) { return height(a) < height(b); });
    int column = start;
    for (int slot : ladder) {
        if (column == left(slot)) {
            ++column;
        } else if (column == left(slot) + 1) {
            --column;
        }
    }
    return column;
}

// Calls `visit` with every set of `n` different slots.
void EverySet(int n, std::vector<int>& set, int from, const std::function<void()>& visit) {
    if (static_cast<int>(set.size()) == n) {
        visit();
        return;
    }
    for (int slot = from; slot < kRungSlots; ++slot) {
        set.push_back(slot);
        EverySet(n, set, slot + 1, visit);
        set.pop_back();
    }
}

}  // namespace

class LadderOddsTest : public QObject {
    Q_OBJECT

  private slots:
    void theOddsAreThoseOfEveryLadderCountedOneByOne_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("rungs");
        for (int start : {4, 2, 11}) {
            for (int rungs = 0; rungs <= 3; ++rungs) {
                QTest::addRow("start %d, %d rungs", start, rungs) << start << rungs;
            }
        }
    }
    void theOddsAreThoseOfEveryLadderCountedOneByOne() {
        QFETCH(int, start);
        QFETCH(int, rungs);
        std::array<double, 10> count{};
        double sets = 0;
        std::vector<int> set;
        EverySet(rungs, set, 0, [&] {
            ++count[Walk(start, set) - 2];
            ++sets;
        });
        const ArrivalOdds odds = ExactArrivalOdds(start)[rungs];
        for (int c = 0; c < 10; ++c) {
            QVERIFY2(std::abs(odds[c] - count[c] / sets) < 1e-15,
                     qPrintable(QString::number(c + 2)));
        }
    }

    void handWorkedRowsAndEveryRowSumsToOne() {
        // One rung meets the third line in 25 of its 225 places on either side.
        const std::vector<ArrivalOdds> table = ExactArrivalOdds(4);
        QCOMPARE(table.size(), std::size_t{226});
        QCOMPARE(table[1], (ArrivalOdds{0, 25 / 225.0, 175 / 225.0, 25 / 225.0, 0, 0, 0, 0, 0, 0}));
        // With every rung the ladder is certain again.
        std::vector<int> all(kRungSlots);
        std::iota(all.begin(), all.end(), 0);
        QCOMPARE(table[225][Walk(4, all) - 2], 1.0);
        for (int start = 2; start <= 11; ++start) {
            for (const ArrivalOdds& row : ExactArrivalOdds(start)) {
                double sum = 0;
                for (double p : row) {
                    sum += p;
                }
                QVERIFY(std::abs(sum - 1) < 1e-12);
            }
        }
        const Unfairness certain = DistanceFromFair(table[0]);
        QCOMPARE(certain.totalVariation, 0.9);
        QCOMPARE(certain.largestDeviation, 0.9);
    }

    // From a review: a start column or rung count out of range indexed past the arrays.
    void aStartOrRungCountOutOfRangeIsRefused_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("start");
        QTest::newRow("start 1") << 10 << 1;
        QTest::newRow("start 12") << 10 << 12;
        QTest::newRow("51 rungs") << 51 << 4;
        QTest::newRow("-1 rungs") << -1 << 4;
    }
    void aStartOrRungCountOutOfRangeIsRefused() {
        QFETCH(int, rungs);
        QFETCH(int, start);
        MixingRandomSource random(1);
        FixedClock clock;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, ArrivalSimulation(rungs, start, random, clock));
        if (start != kStartColumn) {
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, ExactArrivalOdds(start));
        }
    }
};

QTEST_APPLESS_MAIN(LadderOddsTest)
#include "test_ladder_odds.moc"
