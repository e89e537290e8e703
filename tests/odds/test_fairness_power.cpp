#include <QTest>

#include <cmath>
#include <random>

#include "chi_square.h"
#include "experiment_state.h"
#include "fairness_power.h"
#include "fixed_clock.h"
#include "ladder_odds.h"
#include "mixing_random_source.h"
#include "whole_experiments.h"

using namespace hashigoro;

namespace {

// The non-central chi-square density, from its Bessel-function form, integrated by Simpson's
// rule: a way to the distribution that shares nothing with the Poisson mixture.
double IntegratedCdf(double x, int k, double lambda) {
    const auto density = [&](double t) {
        if (t <= 0) {
            return 0.0;
        }
        return 0.5 * std::exp(-(t + lambda) / 2) * std::pow(t / lambda, k / 4.0 - 0.5) *
               std::cyl_bessel_i(k / 2.0 - 1, std::sqrt(lambda * t));
    };
    constexpr int kSteps = 20000;
    const double h = x / kSteps;
    double sum = density(0) + density(x);
    for (int i = 1; i < kSteps; ++i) {
        sum += (i % 2 ? 4 : 2) * density(i * h);
    }
    return sum * h / 3;
}

ArrivalOdds Odds(int rungs) {
    return ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
}

}  // namespace

class FairnessPowerTest : public QObject {
    Q_OBJECT

  private slots:
    void theMixtureAgreesWithTheIntegratedDensity_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("k");
        QTest::addColumn<double>("lambda");
        QTest::newRow("nine, small shift") << 16.919 << 9 << 2.0;
        QTest::newRow("nine, at the mean") << 29.0 << 9 << 20.0;
        QTest::newRow("nine, far tail") << 16.919 << 9 << 60.0;
        QTest::newRow("three") << 4.0 << 3 << 5.5;
        QTest::newRow("five, large shift") << 140.0 << 5 << 120.0;
    }
    void theMixtureAgreesWithTheIntegratedDensity() {
        QFETCH(double, x);
        QFETCH(int, k);
        QFETCH(double, lambda);
        const double mixture = NoncentralChiSquareCdf(x, k, lambda);
        const double integrated = IntegratedCdf(x, k, lambda);
        QVERIFY2(
            std::abs(mixture - integrated) < 1e-7,
            qPrintable(QString("%1 vs %2").arg(mixture, 0, 'g', 12).arg(integrated, 0, 'g', 12)));
    }

    void withoutAShiftItIsTheCentralDistribution() {
        for (double x : {1.0, 9.0, 16.919, 40.0}) {
            QCOMPARE(NoncentralChiSquareCdf(x, 9, 0), 1 - UpperGammaQ(4.5, x / 2));
        }
        QVERIFY(std::abs(ChiSquareUpperQuantile(0.05, 9) - 16.918978) < 1e-5);
        QVERIFY(std::abs(ChiSquareUpperQuantile(0.05, 1) - 3.841459) < 1e-5);
    }

    // The power against the share of simulated classes whose own fairness test rejects, at the
    // sizes a class has: exact below 101 trials, the non-central distribution beyond.
    void thePowerIsTheShareOfSimulatedTestsThatReject_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("trials");
        const int rows[][3] = {{4, 10, 10},   {4, 10, 16},  {4, 30, 30},  {4, 50, 49},
                               {4, 50, 67},   {6, 30, 100}, {6, 30, 140}, {4, 80, 150},
                               {4, 100, 400}, {4, 171, 30}};
        for (const auto& row : rows) {
            QTest::addRow("start %d, %d rungs, %d trials", row[0], row[1], row[2])
                << row[0] << row[1] << row[2];
        }
    }
    void thePowerIsTheShareOfSimulatedTestsThatReject() {
        QFETCH(int, start);
        QFETCH(int, rungs);
        QFETCH(int, trials);
        const ArrivalOdds odds = ExactArrivalOdds(start)[static_cast<std::size_t>(rungs)];
        const double power = FairnessTestPower(odds, static_cast<std::uint64_t>(trials));
        std::mt19937_64 random(20261207);
        std::discrete_distribution<std::size_t> column(odds.begin(), odds.end());
        constexpr int kClasses = 6000;
        int rejected = 0;
        for (int c = 0; c < kClasses; ++c) {
            ArrivalCounts counts{};
            for (int t = 0; t < trials; ++t) {
                ++counts[column(random)];
            }
            rejected += CallsUnfair(FairnessTest(counts).pValue);
        }
        const double share = static_cast<double>(rejected) / kClasses;
        qInfo("start %d, %d rungs, %d trials: power %.3f, simulated %.3f", start, rungs, trials,
              power, share);
        QVERIFY2(std::abs(share - power) < 0.025, qPrintable(QString::number(share)));
    }

    void thePowerAtSixteenTrialsOfTenRungs() {
        QVERIFY(std::abs(FairnessTestPower(Odds(10), 16) - 0.846) < 0.005);
        // One or two arrivals can never be called unfair at 5 %.
        QCOMPARE(FairnessTestPower(Odds(10), 1), 0.0);
        QCOMPARE(FairnessTestPower(Odds(10), 2), 0.0);
    }

    void theTrialsNeededAreTheFewestFromWhichThePowerStays() {
        for (int start : {2, 4, 6}) {
            for (int rungs : {10, 30, 50}) {
                const ArrivalOdds odds = ExactArrivalOdds(start)[static_cast<std::size_t>(rungs)];
                const std::vector<double> exact = ExactPowers(odds);
                const auto power = [&](std::uint64_t n) {
                    return FairnessTestPower(odds, n, exact);
                };
                std::uint64_t last = 0;
                for (double wanted : {0.5, 0.8, 0.95}) {
                    const std::uint64_t trials = TrialsForPower(odds, wanted).value();
                    QVERIFY(trials >= last);
                    for (std::uint64_t n = trials; n < trials + 200; ++n) {
                        QVERIFY2(power(n) >= wanted, qPrintable(QString::number(n)));
                    }
                    QVERIFY(trials == 1 || power(trials - 1) < wanted);
                    last = trials;
                }
            }
        }
        QCOMPARE(TrialsForPower(Odds(10), 0.8).value(), 16ULL);
        // A fair ladder that no number of trials shows up.
        QVERIFY(!TrialsForPower(FairOdds(), 0.8).has_value());
    }

    // The curve the sheet draws starts at one trial and follows the power.
    void theCurveStartsAtOneTrial() {
        const auto curve = PowerCurve(Odds(30));
        const std::vector<double> exact = ExactPowers(Odds(30));
        QCOMPARE(curve.front().trials, 1.0);
        QCOMPARE(curve.back().trials, kPowerCurveMostTrials);
        for (const PowerPoint& point : curve) {
            const auto n = static_cast<std::uint64_t>(point.trials);
            QCOMPARE(point.percent, 100 * FairnessTestPower(Odds(30), n, exact));
        }
    }

    // The quick way to the exact power (the last column summed directly, what cannot matter
    // left behind) against the full distributions of the pair counts.
    void theExactPowerIsTheFullSum() {
        for (int rungs : {0, 10, 50, 171}) {
            const ArrivalOdds odds = Odds(rungs);
            const std::vector<double> quick = ExactPowers(odds);
            constexpr int kMost = static_cast<int>(kExactPowerBelow) - 1;
            const auto full = PairCountDistributions(odds, kMost, kMost * (kMost - 1) / 2);
            for (std::uint64_t n = 1; n < kExactPowerBelow; ++n) {
                double sum = 0;
                for (std::uint64_t t = RejectedPairsFrom(n); t < full[n].size(); ++t) {
                    sum += full[n][t];
                }
                QVERIFY2(std::abs(quick[n] - sum) < 1e-9,
                         qPrintable(QString("%1 rungs, %2 trials").arg(rungs).arg(n)));
            }
        }
    }

    // The fewest trials for 50, 80 and 95 % against a plain sum of its own, in long double: the
    // counts column by column, every total and every count of pairs kept, each composition
    // weighed by odds^count / count!, n! times that the chance.
    void theTrialsNeededAreThoseOfAnIndependentExactSum_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("most");  // trials summed, past where 95 % is reached
        QTest::newRow("10 rungs") << 10 << 40;
        QTest::newRow("30 rungs") << 30 << 80;
        QTest::newRow("50 rungs") << 50 << 115;
        QTest::newRow("60 rungs") << 60 << 165;
    }
    void theTrialsNeededAreThoseOfAnIndependentExactSum() {
        QFETCH(int, rungs);
        QFETCH(int, most);
        const ArrivalOdds odds = Odds(rungs);
        const int kMost = most;
        const int cap = static_cast<int>(RejectedPairsFrom(kMost));
        // weight[m][t] over the columns so far.
        std::vector<std::vector<long double>> weight(kMost + 1,
                                                     std::vector<long double>(cap + 1, 0));
        weight[0][0] = 1;
        for (double p : odds) {
            auto next = weight;
            for (auto& row : next) {
                std::fill(row.begin(), row.end(), 0);
            }
            for (int m = 0; m <= kMost; ++m) {
                long double term = 1;  // p^c / c!
                // m arrivals make at most m(m - 1)/2 pairs.
                const int reach = std::min(cap, m * (m - 1) / 2);
                for (int c = 0; m + c <= kMost; ++c, term *= p / c) {
                    for (int t = 0; t <= reach; ++t) {
                        next[m + c][std::min(cap, t + c * (c - 1) / 2)] += weight[m][t] * term;
                    }
                }
            }
            weight.swap(next);
        }
        std::vector<double> power(kMost + 1, 0);
        long double factorial = 1;
        for (int n = 1; n <= kMost; ++n) {
            factorial *= n;
            long double sum = 0;
            for (auto t = static_cast<int>(RejectedPairsFrom(n)); t <= cap; ++t) {
                sum += weight[n][t];
            }
            power[n] = static_cast<double>(factorial * sum);
        }
        for (double wanted : {0.5, 0.8, 0.95}) {
            int fewest = kMost;
            while (fewest > 1 && power[fewest - 1] >= wanted) {
                --fewest;
            }
            QVERIFY(power[kMost] >= wanted);
            const auto said = static_cast<int>(TrialsForPower(odds, wanted).value());
            QVERIFY2(std::abs(said - fewest) <= 1,
                     qPrintable(QString("%1: %2 vs %3").arg(wanted).arg(said).arg(fewest)));
        }
    }

    // Where the approximation takes over from the exact powers, the curve goes on rising.
    void theCurveNeverDipsWhereTheWaysToItMeet() {
        for (int start : {2, 4, 6}) {
            for (int rungs = 10; rungs <= 50; ++rungs) {
                const ArrivalOdds odds = ExactArrivalOdds(start)[static_cast<std::size_t>(rungs)];
                const std::vector<double> exact = ExactPowers(odds);
                const auto curve = PowerCurve(odds, exact);
                const std::size_t joined = exact.size() - 1;
                QVERIFY2(curve[joined].percent >= curve[joined - 1].percent - 1e-9,
                         qPrintable(QString("start %1, %2 rungs").arg(start).arg(rungs)));
                for (std::size_t i = joined; i + 1 < curve.size(); ++i) {
                    QVERIFY(curve[i + 1].percent >= curve[i].percent - 1e-9);
                }
            }
        }
    }

    // Whole fair experiments, run by plain code to their end (the first arrival in a full
    // bar, itself in no bar), are called unfair no more than one time in twenty.
    void fairWholeExperimentsAreRejectedAtMostOneTimeInTwenty_data() {
        QTest::addColumn<int>("rungs");
        QTest::newRow("fair odds") << -1;
        QTest::newRow("171 rungs, the fairest ladder") << 171;
    }
    void fairWholeExperimentsAreRejectedAtMostOneTimeInTwenty() {
        QFETCH(int, rungs);
        const ArrivalOdds odds =
            rungs < 0 ? FairOdds()
                      : ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
        std::mt19937_64 random(20261207);
        std::discrete_distribution<std::size_t> column(odds.begin(), odds.end());
        constexpr int kExperiments = 20'000;
        int rejected = 0;
        for (int e = 0; e < kExperiments; ++e) {
            ArrivalCounts bars{};
            for (;;) {
                const std::size_t c = column(random);
                if (bars[c] == 20) {
                    break;
                }
                ++bars[c];
            }
            rejected += CallsUnfair(FairnessTest(bars).pValue);
        }
        const double share = static_cast<double>(rejected) / kExperiments;
        qInfo("%.2f %% of fair whole experiments called unfair", 100 * share);
        QVERIFY2(share <= 0.05, qPrintable(QString::number(share)));
        QVERIFY2(share >= 0.02, qPrintable(QString::number(share)));
    }

    void aWholeExperimentEndsAtTheFirstArrivalInAFullBar() {
        MixingRandomSource random(7);
        FixedClock clock;
        WholeExperiments experiments(10, kStartColumn, random, clock);
        experiments.Run(300);
        QCOMPARE(experiments.Experiments(), 300);
        int total = 0;
        for (int length : experiments.Lengths()) {
            // Twenty squares in one bar and one more arrival there, at the least; every bar
            // full and one more, at the most.
            QVERIFY(length >= 21 && length <= 201);
            total += length;
        }
        QCOMPARE(static_cast<std::uint64_t>(total), experiments.Trials());
        // At 10 rungs the bias is plain: nearly every finished experiment shows it.
        QVERIFY(experiments.Detected() > 270);
        // The most lopsided ladder of all: every finished experiment shows it.
        WholeExperiments lopsided(10, 2, random, clock);
        lopsided.Run(200);
        QCOMPARE(lopsided.Detected(), 200);
        QCOMPARE(Percentile({5, 1, 4, 2, 3}, 0.5), 3);
        QCOMPARE(Percentile({5, 1, 4, 2, 3}, 0.05), 1);
        QCOMPARE(Percentile({5, 1, 4, 2, 3}, 0.95), 5);
        QCOMPARE(Percentile({}, 0.5), 0);
    }
};

QTEST_APPLESS_MAIN(FairnessPowerTest)
#include "test_fairness_power.moc"
