#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>

#include "class_pool.h"
#include "class_sheet.h"
#include "comma_locale.h"
#include "drawn_experiment.h"
#include "experiment_state.h"
#include "fairness_test.h"
#include "ladder_odds.h"

using namespace hashigoro;

class ClassPoolTest : public QObject {
    Q_OBJECT

  private slots:
    void experimentsArePooledByRungCount() {
        const std::vector<ExperimentResult> experiments = {
            {30, {20, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1},
            {10, {5, 4, 5, 4, 5, 4, 5, 4, 5, 4}, 0},
            {30, {0, 20, 0, 0, 0, 0, 0, 0, 0, 1}, 2},
        };
        const std::vector<ClassGroup> groups = PoolClass(experiments);
        QCOMPARE(groups.size(), std::size_t{2});
        QCOMPARE(groups[0].rungs, 10);
        QCOMPARE(groups[1].rungs, 30);
        QCOMPARE(groups[1].experiments, 2);
        QCOMPARE(groups[1].trials, 86ULL);
        QCOMPARE(groups[1].pooled[1], 21ULL);
        QCOMPARE(groups[1].exact, ExactArrivalOdds(kStartColumn)[30]);
        QCOMPARE(groups[1].fairness.pValue, FairnessTest(groups[1].pooled).pValue);
        // Fairness is called into doubt, so no more experiments are counted for it.
        QVERIFY(CallsUnfair(groups[1].fairness.pValue));
        QVERIFY(!MoreForEighty(groups[1]));
        // Bars this even do not doubt fairness: the experiments that the test needs are told.
        QVERIFY(MoreForEighty(groups[0]).has_value());
        QVERIFY(*MoreForEighty(groups[0]) >= 0 && *MoreForEighty(groups[0]) < 5);
    }

    void theTableSavesWithAPointInAnyLocale() {
        const hashigoro::testing::CommaLocale comma;
        const std::string csv = ClassCsv(PoolClass({{50, {1, 1, 0, 0, 0, 0, 0, 0, 0, 1}, 0}}));
        QVERIFY(
            csv.starts_with("rungs,experiments,trials,line,count,relative_frequency,exact_odds\n"));
        QVERIFY2(csv.find("50,1,3,1,1,0.333333,") != std::string::npos, csv.c_str());
        QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), 11L);
    }

    // Classes of 20 experiments drawn from the exact odds, ended, stopped after 5 to 60 trials,
    // or both: the exact-odds test doubts at most one in twenty; drawn fair, the fairness test
    // does.
    void bothTestsHoldTheirLevelForWholeClasses_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("stopped");  // every how many experiments is stopped (0: none)
        QTest::newRow("10 rungs, ended") << 10 << 0;
        QTest::newRow("30 rungs, stopped") << 30 << 1;
        QTest::newRow("50 rungs, mixed") << 50 << 2;
        QTest::newRow("fair classes, a tenth each") << -1 << 0;
    }
    void bothTestsHoldTheirLevelForWholeClasses() {
        QFETCH(int, rungs);
        QFETCH(int, stopped);
        const bool fair = rungs < 0;
        const ArrivalOdds odds =
            fair ? FairOdds() : ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
        std::mt19937_64 random(20261207);
        // Fewer drawn classes inside each test than the sheet's 999 keep this quick; the test
        // stays exact with any number.
        constexpr int kClasses = 300;
        constexpr int kDraws = 99;
        int oddsDoubted = 0;
        int fairnessDoubted = 0;
        for (int k = 0; k < kClasses; ++k) {
            std::vector<ExperimentResult> experiments;
            for (int e = 0; e < 20; ++e) {
                const bool stop = stopped > 0 && e % stopped == 0;
                experiments.push_back(
                    DrawExperiment(fair ? 50 : rungs, odds, random, stop ? 5 + (k + e) % 56 : 0));
            }
            const ClassGroup group = PoolClass(experiments, kDraws).front();
            oddsDoubted += CallsUnfair(group.odds.pValue);
            fairnessDoubted += CallsUnfair(group.fairness.pValue);
        }
        qInfo("%s: exact-odds test doubts %.1f %%, fairness test %.1f %%", QTest::currentDataTag(),
              100.0 * oddsDoubted / kClasses, 100.0 * fairnessDoubted / kClasses);
        // At most one in twenty, give or take two standard deviations of the count.
        const double most = 0.05 * kClasses + 2 * std::sqrt(kClasses * 0.05 * 0.95);
        if (fair) {
            QVERIFY(fairnessDoubted <= most);
            QVERIFY(oddsDoubted > 0.99 * kClasses);  // fair is far from the ladder's odds
        } else {
            QVERIFY2(oddsDoubted <= most, qPrintable(QString::number(oddsDoubted)));
        }
    }

    // The same lines in any order get the same p; a line the exact odds make almost impossible
    // is told at once that no class drawn from them comes near it.
    void theVerdictIsTheLinesNotTheirOrder() {
        std::vector<ExperimentResult> lines = {{50, {3, 5, 20, 7, 4, 2, 1, 0, 0, 0}, 3},
                                               {50, {2, 6, 20, 9, 5, 3, 1, 1, 0, 0}, 3},
                                               {50, {1, 4, 12, 8, 6, 2, 1, 0, 0, 0}, 0},
                                               {50, {4, 7, 20, 11, 6, 3, 2, 1, 0, 0}, 3}};
        std::sort(lines.begin(), lines.end(),
                  [](const auto& a, const auto& b) { return a.counts < b.counts; });
        const double p = PoolClass(lines).front().odds.pValue;
        do {
            QCOMPARE(PoolClass(lines).front().odds.pValue, p);
        } while (std::next_permutation(
            lines.begin(), lines.end(),
            [](const auto& a, const auto& b) { return a.counts < b.counts; }));
        QElapsedTimer timer;
        timer.start();
        const ClassGroup hang =
            PoolClass({{10, ArrivalCounts{20, 20, 20, 20, 20, 20, 20, 20, 20, 20}, 0}}).front();
        QVERIFY2(hang.odds.below && hang.odds.pValue == 1.0 / (1 + kDrawsWhenNone),
                 qPrintable(QString::number(hang.odds.pValue)));
        // No endless drawing: a bound for a hang, ten times and more what it takes sanitized.
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // Small classes against their exact p, summed over every way their trials could have
    // fallen: a p drawn where the odds make the class likely enough, within a factor of two and
    // on the same side of 5 %; "p < bound" only where the exact p is below the bound.
    void aSmallClassesPIsTrue_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<QList<int>>("lines");  // the line of each trial
        for (int rungs : {10, 20}) {
            for (int line = 1; line <= 9; ++line) {
                QTest::addRow("%d rungs, one trial in line %d", rungs, line)
                    << rungs << QList<int>{line};
            }
            QTest::addRow("%d rungs, lines 3 and 4", rungs) << rungs << QList<int>{3, 4};
            QTest::addRow("%d rungs, lines 1, 3 and 7", rungs) << rungs << QList<int>{1, 3, 7};
            QTest::addRow("%d rungs, line 6 three times", rungs) << rungs << QList<int>{6, 6, 6};
        }
    }
    void aSmallClassesPIsTrue() {
        QFETCH(int, rungs);
        QFETCH(QList<int>, lines);
        const ArrivalOdds odds = ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
        const auto statistic = [&odds](const std::array<int, 10>& counts, int n) {
            double x = 0;
            for (std::size_t c = 0; c < 10; ++c) {
                if (odds[c] > 0) {
                    x += (counts[c] - n * odds[c]) * (counts[c] - n * odds[c]) / (n * odds[c]);
                } else if (counts[c] > 0) {
                    return HUGE_VAL;
                }
            }
            return x;
        };
        std::array<int, 10> seen{};
        for (int line : lines) {
            ++seen[static_cast<std::size_t>(line - 1)];
        }
        const int n = static_cast<int>(lines.size());
        const double observed = statistic(seen, n);
        // Every sequence of n arrivals, with its probability.
        double exact = 0;
        for (int code = 0; code < static_cast<int>(std::pow(10, n)); ++code) {
            std::array<int, 10> counts{};
            double probability = 1;
            for (int k = 0, rest = code; k < n; ++k, rest /= 10) {
                ++counts[static_cast<std::size_t>(rest % 10)];
                probability *= odds[static_cast<std::size_t>(rest % 10)];
            }
            if (probability > 0 && statistic(counts, n) >= observed * (1 - 1e-12)) {
                exact += probability;
            }
        }
        ExperimentResult stopped{rungs, {}, 0};
        for (std::size_t c = 0; c < 10; ++c) {
            stopped.counts[c] = static_cast<std::uint64_t>(seen[c]);
        }
        const ChiSquareResult reported = PoolClass({stopped}).front().odds;
        const QString said = QString("exact %1, reported %2%3")
                                 .arg(exact)
                                 .arg(reported.below ? "< " : "")
                                 .arg(reported.pValue);
        if (reported.below) {
            QVERIFY2(exact < reported.pValue, qPrintable(said));
        } else {
            QVERIFY2(reported.pValue < 2 * exact && exact < 2 * reported.pValue, qPrintable(said));
            if (std::abs(exact - 0.05) > 0.02) {
                QVERIFY2(CallsUnfair(reported.pValue) == (exact < 0.05), qPrintable(said));
            }
        }
    }

    // The class part as the windows show it: lines added in pieces, read and pooled, said.
    void theSheetSaysWhatItRead() {
        ClassSheet sheet;
        sheet.AddText("横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了");
        sheet.AddText("50 3 5 20 7 4 2 1 0 0 0\n50 3 5 21 7 4 2 1 0 0 0\n10 2 2 2 2 2 2 2 2 2 2\n");
        sheet.Pool();
        QCOMPARE(sheet.Experiments(), 3);
        QCOMPARE(sheet.Repeated(), 0);  // the second line ended otherwise: not the same
        QCOMPARE(sheet.Groups().size(), std::size_t{2});
        QCOMPARE(QString::fromStdString(sheet.Rejected().at(0)),
                 QString("3 行目：20 より大きい数があります（1 本の線は 20 回まで）"
                         "（50 3 5 21 7 4 2 1 0 0 0）"));
        QCOMPARE(QString::fromStdString(ClassSheet::GroupTitle(sheet.Groups()[1])),
                 QString("横線 50 本：2 回の実験、84 回の試行"));
        const QString fair = QString::fromStdString(ClassSheet::Verdicts(sheet.Groups()[0]));
        QVERIFY(fair.startsWith("公平（どの線も 10 %）と比べると：カイ二乗 0.00（自由度 9）"));
        QVERIFY(fair.contains("公平でないとまでは言えません。"));
        QVERIFY(fair.contains("\n理論値と比べると："));
        QVERIFY(QString::fromStdString(sheet.Summary()).contains("読めなかった行が 1 行"));
        QVERIFY(sheet.Csv().starts_with("rungs,"));
        sheet.Clear();
        QVERIFY(sheet.Text().empty());
    }
};

QTEST_APPLESS_MAIN(ClassPoolTest)
#include "test_class_pool.moc"
