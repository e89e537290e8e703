#include <QTest>

#include <cmath>
#include <random>

#include "arrival_simulation.h"
#include "chi_square.h"
#include "drawn_test.h"
#include "fixed_clock.h"
#include "ladder_odds.h"
#include "mixing_random_source.h"

using namespace hashigoro;

namespace {

// `trials` arrivals drawn straight from `odds`.
ArrivalCounts DrawFrom(const ArrivalOdds& odds, int trials, std::mt19937_64& random) {
    std::discrete_distribution<std::size_t> column(odds.begin(), odds.end());
    ArrivalCounts counts{};
    for (int t = 0; t < trials; ++t) {
        ++counts[column(random)];
    }
    return counts;
}

}  // namespace

class ChiSquareTest_ : public QObject {
    Q_OBJECT

  private slots:
    void theUpperGammaFunctionHasItsKnownValues_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("q");
        QTest::addColumn<double>("tolerance");
        for (double x : {0.25, 1.0, 2.0, 10.0, 30.0}) {
            const double e = std::exp(-x);
            QTest::addRow("Q(1, %g) = e^-x", x) << 1.0 << x << e << 1e-13 * e;
            QTest::addRow("Q(1/2, %g) = erfc(sqrt x)", x)
                << 0.5 << x << std::erfc(std::sqrt(x)) << 1e-12 * std::erfc(std::sqrt(x));
            QTest::addRow("Q(2, %g) = (1 + x) e^-x", x) << 2.0 << x << (1 + x) * e << 1e-12 * e;
        }
        QTest::newRow("Q(1/2, 0) = 1") << 0.5 << 0.0 << 1.0 << 0.0;
        QTest::newRow("Q(9/2, 0) = 1") << 4.5 << 0.0 << 1.0 << 0.0;
        // The 5 % point of chi-square with nine degrees of freedom, 16.919 to five figures.
        QTest::newRow("chi-square 9 at 16.919") << 4.5 << 16.919 / 2 << 0.05 << 1e-6;
    }
    void theUpperGammaFunctionHasItsKnownValues() {
        QFETCH(double, a);
        QFETCH(double, x);
        QFETCH(double, q);
        QFETCH(double, tolerance);
        QVERIFY2(std::abs(UpperGammaQ(a, x) - q) <= tolerance,
                 qPrintable(QString::number(UpperGammaQ(a, x), 'g', 17)));
    }

    // From a review: the columns expected fewer than five times were pooled, but the pool
    // itself could still expect fewer than five.
    void columnsArePooledUntilEveryBinExpectsFive_data() {
        QTest::addColumn<QVector<double>>("odds");
        QTest::addColumn<double>("trials");
        QTest::addColumn<QVector<int>>("bins");
        QTest::newRow("every column alone")
            << QVector<double>(10, 0.1) << 100.0 << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("the small ones share a bin")
            << QVector<double>{0.3, 0.2, 0.2, 0.1, 0.1, 0.04, 0.04, 0.02, 0, 0} << 100.0
            << QVector<int>{0, 1, 2, 3, 4, 5, 5, 5, -1, -1};
        QTest::newRow("a pool of four takes in the next least")
            << QVector<double>{0.3, 0.2, 0.2, 0.1, 0.1, 0.06, 0.03, 0.01, 0, 0} << 100.0
            << QVector<int>{0, 1, 2, 3, 4, 5, 5, 5, -1, -1};
        QTest::newRow("a pool of 1.7 takes in the least of the others")
            << QVector<double>{0.5, 0.2, 0.1, 0.1, 0.098, 0.0013, 0.0004, 0, 0, 0} << 1000.0
            << QVector<int>{0, 1, 2, 3, 4, 4, 4, -1, -1, -1};
        QTest::newRow("everything in one pool")
            << QVector<double>{0.5, 0.5, 0, 0, 0, 0, 0, 0, 0, 0} << 6.0
            << QVector<int>{0, 0, -1, -1, -1, -1, -1, -1, -1, -1};
    }
    void columnsArePooledUntilEveryBinExpectsFive() {
        QFETCH(QVector<double>, odds);
        QFETCH(double, trials);
        QFETCH(QVector<int>, bins);
        ArrivalOdds p{};
        std::copy(odds.begin(), odds.end(), p.begin());
        const ColumnBins found = BinColumns(p, trials);
        QCOMPARE(QVector<int>(found.bin.begin(), found.bin.end()), bins);
        QCOMPARE(found.bins, *std::max_element(bins.begin(), bins.end()) + 1);
    }

    void anArrivalWhereNoneCanBeIsRejectedAtOnce() {
        ArrivalOdds odds{};
        odds[2] = 1;
        ArrivalCounts counts{};
        counts[2] = 99;
        counts[3] = 1;
        QCOMPARE(ChiSquareTest(counts, odds).pValue, 0.0);
    }

    // Runs that follow the exact odds are rejected at the 5 % level one time in twenty: by the
    // experiment's own logic, and straight from the odds where the pooling matters.
    void fairRunsAreRejectedOneTimeInTwenty_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("trials");
        QTest::addColumn<bool>("experiment");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("100 trials at 10 rungs, the experiment's logic")
            << 10 << 100 << true << false;
        QTest::newRow("1,000 trials at 10 rungs, a small pool") << 10 << 1000 << false << false;
        QTest::newRow("300 trials at 50 rungs") << 50 << 300 << false << false;
        // The simulation's check, with its p drawn, at sizes where no bin would expect five.
        QTest::newRow("drawn: 30 trials at 50 rungs") << 50 << 30 << true << true;
        QTest::newRow("drawn: 12 trials at 10 rungs") << 10 << 12 << false << true;
        QTest::newRow("drawn: 300 trials at 30 rungs") << 30 << 300 << false << true;
    }
    void fairRunsAreRejectedOneTimeInTwenty() {
        QFETCH(int, rungs);
        QFETCH(int, trials);
        QFETCH(bool, experiment);
        QFETCH(bool, drawn);
        const ArrivalOdds odds = ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
        std::mt19937_64 draw(20261207);
        MixingRandomSource random(20261207);
        FixedClock clock;
        constexpr int kRuns = 2000;
        int rejected = 0;
        for (int run = 0; run < kRuns; ++run) {
            ArrivalCounts counts{};
            if (experiment) {
                ArrivalSimulation simulation(rungs, kStartColumn, random, clock);
                simulation.Run(static_cast<std::uint64_t>(trials));
                counts = simulation.Counts();
            } else {
                counts = DrawFrom(odds, trials, draw);
            }
            rejected +=
                (drawn ? OddsAgreement(counts, odds) : ChiSquareTest(counts, odds)).pValue < 0.05;
        }
        const double share = static_cast<double>(rejected) / kRuns;
        qInfo("%.1f %% rejected", 100 * share);
        // A drawn p on few trials takes few values: its level is at most 5 %, not near it.
        QVERIFY2(drawn ? share <= 0.065 : std::abs(share - 0.05) <= 0.015,
                 qPrintable(QString::number(share)));
    }

    // The simulation's check against the exact odds says something at every size: never no
    // degrees of freedom, and counts the odds make (almost) impossible doubted at once, with
    // the bound that the draws made show (no draw as large among 199: p below 1/200).
    void theCheckOfASimulationJudgesAnySize_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<QVector<int>>("counts");
        QTest::addColumn<bool>("doubted");
        QTest::addColumn<double>("below");
        QTest::newRow("30 arrivals at 50 rungs, all in line 10")
            << 50 << QVector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 30} << true << 0.0051;
        QTest::newRow("one arrival, in the likeliest line")
            << 10 << QVector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0} << false << 1.01;
        QTest::newRow("200 arrivals at 10 rungs, even")
            << 10 << QVector<int>(10, 20) << true << 0.0051;
        QTest::newRow("4,000 arrivals at 30 rungs, as the odds say")
            << 30 << QVector<int>{} << false << 1.01;
    }
    void theCheckOfASimulationJudgesAnySize() {
        QFETCH(int, rungs);
        QFETCH(QVector<int>, counts);
        QFETCH(bool, doubted);
        QFETCH(double, below);
        const ArrivalOdds odds = ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
        ArrivalCounts arrivals{};
        for (std::size_t c = 0; c < kArrivalColumns; ++c) {
            arrivals[c] = counts.isEmpty() ? static_cast<std::uint64_t>(std::round(4000 * odds[c]))
                                           : static_cast<std::uint64_t>(counts[c]);
        }
        const ChiSquareResult result = OddsAgreement(arrivals, odds);
        QCOMPARE(result.degreesOfFreedom, 9);
        QCOMPARE(result.pValue < 0.05, doubted);
        QVERIFY2(result.pValue < below, qPrintable(QString::number(result.pValue)));
        QCOMPARE(result.below, below < 1);
        QCOMPARE(OddsAgreement(arrivals, odds).pValue, result.pValue);  // the same every time
    }
};

QTEST_APPLESS_MAIN(ChiSquareTest_)
#include "test_chi_square.moc"
