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

    // The power that the distribution gives against the share of simulated classes whose test
    // rejects, at the trials that give an even chance. (Within 10 to 50 rungs the bias is so
    // plain that the test has most of its power at the 50 trials it needs at the least, where
    // the distribution is only a rough guide; beyond, where more trials are needed, it is close.)
    void thePowerIsTheShareOfSimulatedTestsThatReject_data() {
        QTest::addColumn<int>("rungs");
        QTest::newRow("80 rungs") << 80;
        QTest::newRow("100 rungs") << 100;
    }
    void thePowerIsTheShareOfSimulatedTestsThatReject() {
        QFETCH(int, rungs);
        const ArrivalOdds odds = Odds(rungs);
        const std::uint64_t trials = TrialsForPower(odds, 0.5).value();
        const double power = FairnessTestPower(odds, static_cast<double>(trials));
        std::mt19937_64 random(20261207);
        std::discrete_distribution<std::size_t> column(odds.begin(), odds.end());
        constexpr int kClasses = 4000;
        int rejected = 0;
        for (int c = 0; c < kClasses; ++c) {
            ArrivalCounts counts{};
            for (std::uint64_t t = 0; t < trials; ++t) {
                ++counts[column(random)];
            }
            rejected += ChiSquareTest(counts, FairOdds()).pValue < 0.05;
        }
        const double share = static_cast<double>(rejected) / kClasses;
        qInfo("%d rungs, %llu trials: power %.3f, simulated %.3f", rungs,
              static_cast<unsigned long long>(trials), power, share);
        QVERIFY2(std::abs(share - power) < 0.04, qPrintable(QString::number(share)));
    }

    void theTrialsNeededAreTheFewestThatReachThePower() {
        for (int rungs : {10, 30, 50}) {
            const ArrivalOdds odds = Odds(rungs);
            std::uint64_t last = 0;
            for (double wanted : {0.5, 0.8, 0.95}) {
                const std::uint64_t trials = TrialsForPower(odds, wanted).value();
                QVERIFY(trials >= last);
                QVERIFY(FairnessTestPower(odds, static_cast<double>(trials)) >= wanted);
                // Below 50 trials every column is pooled and no test can be made.
                QVERIFY(trials == 50 ||
                        FairnessTestPower(odds, static_cast<double>(trials - 1)) < wanted);
                last = trials;
            }
        }
        // Too few trials for any test, and a fair ladder that no number of trials shows up.
        QCOMPARE(FairnessTestPower(Odds(10), 49), 0.0);
        QVERIFY(!TrialsForPower(FairOdds(), 0.8).has_value());
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
        QCOMPARE(Percentile({5, 1, 4, 2, 3}, 0.5), 3);
        QCOMPARE(Percentile({5, 1, 4, 2, 3}, 0.05), 1);
        QCOMPARE(Percentile({5, 1, 4, 2, 3}, 0.95), 5);
        QCOMPARE(Percentile({}, 0.5), 0);
    }
};

QTEST_APPLESS_MAIN(FairnessPowerTest)
#include "test_fairness_power.moc"
