#include <QTest>

#include <array>
#include <cmath>
#include <vector>

#include "arrival_simulation.h"
#include "chi_square.h"
#include "ladder_odds.h"
#include "mixing_random_source.h"
#include "scripted_random.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

// Favours the low columns: every column pick is squeezed towards zero.
class BiasedRandom final : public RandomSource {
  public:
    explicit BiasedRandom(std::uint64_t seed) : inner_(seed) {}
    void Reseed(float seed) override { inner_.Reseed(seed); }
    float Next() override {
        const float r = inner_.Next();
        columnPick_ = !columnPick_;
        return columnPick_ ? r * r : r;
    }

  private:
    MixingRandomSource inner_;
    bool columnPick_ = false;
};

}  // namespace

class LadderStatisticsTest : public QObject {
    Q_OBJECT

  private slots:
    void theExactDistributionMatchesKnownFigures() {
        const ArrivalOdds p = ExactArrivalOdds(kStartColumn)[10];
        const std::array<double, 5> known{0.140, 0.219, 0.269, 0.211, 0.112};
        for (int c = 0; c < 5; ++c) {
            QVERIFY2(std::abs(p[c] - known[c]) < 0.0005,
                     QByteArray::number(c + 2) + ": " + QByteArray::number(p[c]));
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
        ArrivalSimulation simulation(rungs, kStartColumn, random, clock);
        simulation.Run(200000);
        const double meanTicks = static_cast<double>(simulation.BuildingTicks()) / 200000;
        QVERIFY2(std::abs(meanTicks - expectedTicks) < 0.02 * expectedTicks,
                 QByteArray::number(meanTicks).constData());
        const double p =
            ChiSquareTest(simulation.Counts(), ExactArrivalOdds(kStartColumn)[rungs]).pValue;
        qInfo("%d rungs: mean %.3f building ticks, chi-square p = %.4f", rungs, meanTicks, p);
        QVERIFY2(p > 0.001, QByteArray::number(p).constData());
    }

    void theChiSquareCheckRejectsCountsShiftedTowardsOneColumn() {
        const ArrivalOdds p = ExactArrivalOdds(kStartColumn)[10];
        std::array<std::uint64_t, 10> observed{};
        for (int c = 0; c < 10; ++c) {
            observed[c] = static_cast<std::uint64_t>(std::llround(p[c] * 200000));
        }
        QVERIFY(ChiSquareTest(observed, p).pValue > 0.5);
        observed[2] += 1500;
        observed[3] -= 1500;
        QVERIFY(ChiSquareTest(observed, p).pValue < 0.001);
    }

    void theChiSquareCheckRejectsAGeneratorThatFavoursSomeColumns() {
        // Guards the check itself: ladders from a biased generator must fail it.
        BiasedRandom random(7);
        SteppingClock clock(30000.0f, 0.003);
        ArrivalSimulation simulation(30, kStartColumn, random, clock);
        simulation.Run(20000);
        const double p =
            ChiSquareTest(simulation.Counts(), ExactArrivalOdds(kStartColumn)[30]).pValue;
        QVERIFY2(p < 1e-6, QByteArray::number(p).constData());
    }
};

QTEST_APPLESS_MAIN(LadderStatisticsTest)
#include "test_ladder_statistics.moc"
