#include <QTest>

#include <cmath>
#include <functional>
#include <random>

#include "fairness_test.h"

using namespace hashigoro;

namespace {

ArrivalCounts Counts(std::initializer_list<int> values) {
    ArrivalCounts counts{};
    std::size_t c = 0;
    for (int v : values) {
        counts[c++] = static_cast<std::uint64_t>(v);
    }
    return counts;
}

double Statistic(const ArrivalCounts& counts) {
    double n = 0;
    for (auto c : counts) {
        n += static_cast<double>(c);
    }
    double x2 = 0;
    for (auto c : counts) {
        x2 += (static_cast<double>(c) - n / 10) * (static_cast<double>(c) - n / 10) / (n / 10);
    }
    return x2;
}

// P(X² >= observed) under fairness, by visiting every way to share `trials` arrivals among the
// ten columns with its multinomial chance: a way that shares nothing with the tables.
double EnumeratedTail(const ArrivalCounts& observed) {
    int trials = 0;
    for (auto c : observed) {
        trials += static_cast<int>(c);
    }
    const double wanted = Statistic(observed) - 1e-9;
    ArrivalCounts counts{};
    double tail = 0;
    std::function<void(std::size_t, int)> share = [&](std::size_t column, int left) {
        if (column == kArrivalColumns - 1) {
            counts[column] = static_cast<std::uint64_t>(left);
            if (Statistic(counts) >= wanted) {
                double logChance = std::lgamma(trials + 1) - trials * std::log(10.0);
                for (auto c : counts) {
                    logChance -= std::lgamma(static_cast<double>(c) + 1);
                }
                tail += std::exp(logChance);
            }
            return;
        }
        for (int c = 0; c <= left; ++c) {
            counts[column] = static_cast<std::uint64_t>(c);
            share(column + 1, left - c);
        }
    };
    share(0, trials);
    return tail;
}

}  // namespace

Q_DECLARE_METATYPE(ArrivalCounts)

class FairnessTestTest : public QObject {
    Q_OBJECT

  private slots:
    void smallSamplesGetTheExactTail_data() {
        QTest::addColumn<ArrivalCounts>("counts");
        QTest::newRow("one arrival") << Counts({1});
        QTest::newRow("two in one column") << Counts({2});
        QTest::newRow("three in one column") << Counts({3});
        QTest::newRow("spread out") << Counts({1, 1, 1, 1, 1, 1});
        QTest::newRow("eight, lopsided") << Counts({5, 2, 0, 0, 1});
        QTest::newRow("nine, mildly uneven") << Counts({2, 2, 1, 1, 1, 1, 1});
    }
    void smallSamplesGetTheExactTail() {
        QFETCH(ArrivalCounts, counts);
        const FairnessResult result = FairnessTest(counts);
        QVERIFY(result.exact);
        QCOMPARE(result.degreesOfFreedom, 9);
        QVERIFY(std::abs(result.statistic - Statistic(counts)) < 1e-9);
        const double enumerated = EnumeratedTail(counts);
        QVERIFY2(std::abs(result.pValue - enumerated) < 1e-12,
                 qPrintable(QString("%1 vs %2").arg(result.pValue).arg(enumerated)));
    }

    // Bars a class could draw; no column is pooled away, however few the trials.
    void verdictsAtEverySize_data() {
        QTest::addColumn<ArrivalCounts>("counts");
        QTest::addColumn<bool>("unfair");
        QTest::addColumn<bool>("exact");
        QTest::newRow("20 and 2") << Counts({20, 2}) << true << true;
        QTest::newRow("10 in the start column") << Counts({0, 0, 10}) << true << true;
        QTest::newRow("three in each") << Counts({3, 3, 3, 3, 3, 3, 3, 3, 3, 3}) << false << true;
        QTest::newRow("49, spread") << Counts({5, 5, 5, 5, 5, 5, 5, 5, 5, 4}) << false << true;
        QTest::newRow("50, spread") << Counts({5, 5, 5, 5, 5, 5, 5, 5, 5, 5}) << false << false;
        QTest::newRow("120, a bar full")
            << Counts({20, 15, 14, 12, 12, 11, 10, 10, 9, 7}) << false << false;
        QTest::newRow("120, lopsided")
            << Counts({20, 20, 19, 18, 15, 10, 8, 6, 3, 1}) << true << false;
    }
    void verdictsAtEverySize() {
        QFETCH(ArrivalCounts, counts);
        QFETCH(bool, unfair);
        QFETCH(bool, exact);
        const FairnessResult result = FairnessTest(counts);
        QCOMPARE(CallsUnfair(result.pValue), unfair);
        QCOMPARE(result.exact, exact);
    }

    // The exact tails against fair samples drawn at random, near the level where verdicts
    // turn; and fair samples are called unfair at most one time in twenty.
    void fairSamplesAreRejectedAtMostOneTimeInTwenty_data() {
        QTest::addColumn<int>("trials");
        for (int trials : {5, 10, 16, 30, 49, 50, 100}) {
            QTest::addRow("%d trials", trials) << trials;
        }
    }
    void fairSamplesAreRejectedAtMostOneTimeInTwenty() {
        QFETCH(int, trials);
        std::mt19937_64 random(20261207 + static_cast<unsigned>(trials));
        std::uniform_int_distribution<std::size_t> column(0, kArrivalColumns - 1);
        constexpr int kSamples = 200'000;
        int rejected = 0;
        const std::uint64_t from =
            trials < 50 ? RejectedPairsFrom(static_cast<std::uint64_t>(trials)) : 0;
        int beyond = 0;  // samples at or past the first rejected count of pairs
        for (int s = 0; s < kSamples; ++s) {
            ArrivalCounts counts{};
            for (int t = 0; t < trials; ++t) {
                ++counts[column(random)];
            }
            const FairnessResult result = FairnessTest(counts);
            rejected += CallsUnfair(result.pValue);
            std::uint64_t pairs = 0;
            for (auto c : counts) {
                pairs += c * (c - (c > 0)) / 2;
            }
            beyond += pairs >= from;
        }
        const double share = static_cast<double>(rejected) / kSamples;
        qInfo("%d trials: %.4f rejected", trials, share);
        QVERIFY2(share <= 0.05 + 0.0015, qPrintable(QString::number(share)));
        if (trials >= 10) {
            QVERIFY2(share >= 0.025, qPrintable(QString::number(share)));  // a test, not a shrug
        }
        if (trials < 50) {
            // Every rejected sample is one at or past that count, and no other.
            QCOMPARE(beyond, rejected);
        }
    }
};

QTEST_APPLESS_MAIN(FairnessTestTest)
#include "test_fairness_test.moc"
