#include <QTest>

#include <array>
#include <cmath>
#include <vector>

#include "fake_timers.h"
#include "marker_descent.h"
#include "mixing_random_source.h"
#include "recording_board.h"
#include "rung_generation.h"
#include "scripted_random.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

using Distribution = std::array<double, 12>;  // indexed by column 2..11

// The exact distribution of arrival columns for a uniformly chosen set of `rungs` distinct rungs
// out of the 225 slotCount, found level by level: at each height the marker meets at most one slot,
// so it is enough to count, for every number of rungs placed so far, the subsets that leave the
// marker in each column.
Distribution ExactArrivalDistribution(int rungs) {
    auto choose = [](int n, int k) {
        if (k < 0 || k > n) {
            return 0.0;
        }
        double c = 1;
        for (int i = 1; i <= k; ++i) {
            c = c * (n - k + i) / i;
        }
        return c;
    };
    // ways[k][c]: subsets of k rungs on the levels seen so far that bring the marker to c.
    std::vector<std::array<double, 13>> ways(rungs + 1);
    ways[0][4] = 1;
    for (int y = 11; y <= 60; ++y) {
        const bool oddHeight = y % 2 == 1;  // odd heights belong to even left columns
        const int slotCount = oddHeight ? 5 : 4;
        std::vector<std::array<double, 13>> next(rungs + 1);
        for (int k = 0; k <= rungs; ++k) {
            for (int c = 2; c <= 11; ++c) {
                if (ways[k][c] == 0) {
                    continue;
                }
                // The slot at this height that touches column c, if any, and where it leads.
                int target = 0;
                const bool rightExists = c <= 10 && (c % 2 == 0) == oddHeight;
                const bool leftExists = c >= 3 && ((c - 1) % 2 == 0) == oddHeight;
                if (rightExists) {
                    target = c + 1;
                } else if (leftExists) {
                    target = c - 1;
                }
                for (int j = 0; j <= slotCount && k + j <= rungs; ++j) {
                    if (target == 0) {
                        next[k + j][c] += ways[k][c] * choose(slotCount, j);
                    } else {
                        next[k + j][target] += ways[k][c] * choose(slotCount - 1, j - 1);
                        next[k + j][c] += ways[k][c] * choose(slotCount - 1, j);
                    }
                }
            }
        }
        ways = std::move(next);
    }
    Distribution p{};
    const double all = choose(225, rungs);
    for (int c = 2; c <= 11; ++c) {
        p[c] = ways[rungs][c] / all;
    }
    return p;
}

// Regularised upper incomplete gamma Q(a, x), for the chi-square tail.
double UpperGammaQ(double a, double x) {
    if (x < a + 1) {
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < 1000; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return 1 - sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
    }
    double b = x + 1 - a;
    double c = 1e300;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < 1e-300 ? 1e-300 : d;
        c = b + an / c;
        c = std::abs(c) < 1e-300 ? 1e-300 : c;
        d = 1 / d;
        h *= d * c;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

// The p-value of observed counts against expected probabilities; bins expecting fewer than
// five arrivals are pooled.
double ChiSquarePValue(const std::array<long long, 12>& observed, const Distribution& p,
                       long long trials) {
    double chi = 0;
    int bins = 0;
    double pooledExpected = 0;
    long long pooledObserved = 0;
    for (int c = 2; c <= 11; ++c) {
        const double expected = p[c] * static_cast<double>(trials);
        if (expected < 5) {
            pooledExpected += expected;
            pooledObserved += observed[c];
            continue;
        }
        chi += std::pow(static_cast<double>(observed[c]) - expected, 2) / expected;
        ++bins;
    }
    if (pooledExpected > 0) {
        chi += std::pow(static_cast<double>(pooledObserved) - pooledExpected, 2) / pooledExpected;
        ++bins;
    }
    return UpperGammaQ((bins - 1) / 2.0, chi / 2);
}

class TrialRunner final : private BuildEndListener, private ArrivalListener {
  public:
    TrialRunner(Int16 rungs, RandomSource& random, Clock& clock)
        : generation_(state_, board_, label_, random, clock, *this),
          descent_(state_, board_, timers_, *this) {
        FormLoad(state_);
        state_.RungTotal = rungs;
    }

    // One whole trial; returns the arrival column and adds the building ticks to `ticks`.
    int RunTrial(long long& ticks) {
        ResetTrial(state_, false, board_, label_);
        complete_ = false;
        arrival_ = 0;
        while (!complete_) {
            generation_.Timer1_Timer();
            ++ticks;
        }
        --ticks;  // the hand-over tick builds nothing
        timers_.SetTimerEnabled(Timer::Timer2, true);
        while (timers_.IsOn(Timer::Timer2)) {
            descent_.Timer2_Timer();
        }
        return arrival_;
    }

  private:
    void LadderComplete() override { complete_ = true; }
    void Arrival(Int16 column) override { arrival_ = column; }

    ExperimentState state_;
    CountingBoard board_;
    RecordingLabel label_;
    FakeTimers timers_;
    RungGeneration generation_;
    MarkerDescent descent_;
    bool complete_ = false;
    int arrival_ = 0;
};

}  // namespace

class LadderStatisticsTest : public QObject {
    Q_OBJECT

  private slots:
    void theExactDistributionMatchesKnownFigures() {
        const Distribution p = ExactArrivalDistribution(10);
        double sum = 0;
        for (int c = 2; c <= 11; ++c) {
            sum += p[c];
        }
        QVERIFY(std::abs(sum - 1) < 1e-12);
        const std::array<double, 5> known{0.140, 0.219, 0.269, 0.211, 0.112};
        for (int c = 2; c <= 6; ++c) {
            QVERIFY2(std::abs(p[c] - known[c - 2]) < 0.0005,
                     QByteArray::number(c) + ": " + QByteArray::number(p[c]));
        }
    }

    void trialsFollowTheExactDistributionAndBuildInTheExpectedTime_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<double>("expectedTicks");
        QTest::newRow("10 rungs") << 10 << 10.21;
        QTest::newRow("50 rungs") << 50 << 56.40;
    }
    void trialsFollowTheExactDistributionAndBuildInTheExpectedTime() {
        QFETCH(int, rungs);
        QFETCH(double, expectedTicks);
        MixingRandomSource random(0x5eed0000ULL + static_cast<unsigned>(rungs));
        SteppingClock clock(30000.0f, 0.003);
        TrialRunner runner(static_cast<Int16>(rungs), random, clock);
        const long long trials = 200000;
        std::array<long long, 12> observed{};
        long long ticks = 0;
        for (long long t = 0; t < trials; ++t) {
            const int column = runner.RunTrial(ticks);
            QVERIFY(column >= 2 && column <= 11);
            ++observed[column];
        }
        const double meanTicks = static_cast<double>(ticks) / trials;
        QVERIFY2(std::abs(meanTicks - expectedTicks) < 0.02 * expectedTicks,
                 QByteArray::number(meanTicks).constData());
        const double p = ChiSquarePValue(observed, ExactArrivalDistribution(rungs), trials);
        qInfo("%d rungs: mean %.3f building ticks, chi-square p = %.4f", rungs, meanTicks, p);
        QVERIFY2(p > 0.001, QByteArray::number(p).constData());
    }

    void theChiSquareCheckRejectsAGeneratorThatFavoursOneColumn() {
        // Guards the check itself: counts shifted towards column 4 must fail it.
        const Distribution p = ExactArrivalDistribution(10);
        const long long trials = 200000;
        std::array<long long, 12> observed{};
        for (int c = 2; c <= 11; ++c) {
            observed[c] = std::llround(p[c] * trials);
        }
        QVERIFY(ChiSquarePValue(observed, p, trials) > 0.5);
        observed[4] += 1500;
        observed[5] -= 1500;
        QVERIFY(ChiSquarePValue(observed, p, trials) < 0.001);
    }
};

QTEST_APPLESS_MAIN(LadderStatisticsTest)
#include "test_ladder_statistics.moc"
