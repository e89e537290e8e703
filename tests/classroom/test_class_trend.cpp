#include <QTest>

#include <cmath>
#include <random>
#include <sstream>

#include "catalogue.h"
#include "class_sheet.h"
#include "class_trend.h"
#include "drawn_experiment.h"
#include "experiment_band.h"
#include "experiment_state.h"
#include "ladder_odds.h"

using namespace hashigoro;

namespace {

std::uint64_t Squares(const ExperimentResult& experiment) {
    std::uint64_t n = 0;
    for (std::uint64_t count : experiment.counts) {
        n += count;
    }
    return n;
}

// A class as classes come: some experiments run to their end, some stopped after 1 to 150.
std::vector<ExperimentResult> DrawClass(int rungs, int experiments, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    const ArrivalOdds odds = ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
    std::vector<ExperimentResult> drawn;
    for (int e = 0; e < experiments; ++e) {
        drawn.push_back(DrawExperiment(rungs, odds, random, e % 3 == 2 ? 1 + random() % 150 : 0));
    }
    return drawn;
}

}  // namespace

class ClassTrendTest : public QObject {
    Q_OBJECT

  private slots:
    // Each row of the trend, and of its CSV, against sums done afresh from the first
    // experiment up, at the sizes a class has.
    void trendRowsAreTheSumsSoFar_data() {
        QTest::addColumn<int>("rungs");
        QTest::addColumn<int>("experiments");
        QTest::newRow("one experiment") << 10 << 1;
        QTest::newRow("a group of 7") << 30 << 7;
        QTest::newRow("a class of 40") << 50 << 40;
    }
    void trendRowsAreTheSumsSoFar() {
        QFETCH(int, rungs);
        QFETCH(int, experiments);
        const std::vector<ExperimentResult> drawn =
            DrawClass(rungs, experiments, static_cast<std::uint64_t>(rungs * 100 + experiments));
        const std::vector<TrendRow> trend = ClassTrend(drawn);
        QCOMPARE(trend.size(), drawn.size());
        std::istringstream csv(TrendCsv({rungs}, {drawn}));
        std::string row;
        std::getline(csv, row);
        QCOMPARE(QString::fromStdString(row),
                 QString("rungs,experiments,trials,1,2,3,4,5,6,7,8,9,10"));
        for (std::size_t k = 0; k < drawn.size(); ++k) {
            std::uint64_t trials = 0;
            std::uint64_t inLine[10] = {};
            for (std::size_t e = 0; e <= k; ++e) {
                trials += Squares(drawn[e]);
                for (std::size_t c = 0; c < 10; ++c) {
                    inLine[c] += drawn[e].counts[c];
                }
            }
            QCOMPARE(trend[k].experiments, static_cast<int>(k) + 1);
            QCOMPARE(trend[k].trials, trials);
            QString expected = QString("%1,%2,%3").arg(rungs).arg(k + 1).arg(trials);
            for (std::size_t c = 0; c < 10; ++c) {
                const double percent = trials == 0 ? 0.0 : 100.0 * inLine[c] / trials;
                QCOMPARE(trend[k].Percent(static_cast<int>(c) + 1), percent);
                expected += ',' + QString::number(percent, 'f', 1);
            }
            std::getline(csv, row);
            QCOMPARE(QString::fromStdString(row), expected);
        }
        QVERIFY(!std::getline(csv, row));
    }

    // Groups are blocks of their own, each with its header.
    void eachRungCountIsABlock() {
        const std::vector<ExperimentResult> ten = {{10, {20, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 1}};
        const std::vector<ExperimentResult> fifty = {{50, {1, 1, 1, 1, 0, 0, 0, 0, 0, 0}, 0},
                                                     {50, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0}};
        QCOMPARE(QString::fromStdString(TrendCsv({10, 50}, {ten, fifty})),
                 QString("rungs,experiments,trials,1,2,3,4,5,6,7,8,9,10\n"
                         "10,1,21,95.2,4.8,0.0,0.0,0.0,0.0,0.0,0.0,0.0,0.0\n"
                         "\n"
                         "rungs,experiments,trials,1,2,3,4,5,6,7,8,9,10\n"
                         "50,1,4,25.0,25.0,25.0,25.0,0.0,0.0,0.0,0.0,0.0,0.0\n"
                         "50,2,4,25.0,25.0,25.0,25.0,0.0,0.0,0.0,0.0,0.0,0.0\n"));
    }

    // The sentence's two numbers: points off the theoretical probabilities, averaged over the
    // ten lines, for one experiment (over the experiments with trials) and for the class.
    void distanceIsTheMeanPointsOff_data() {
        QTest::addColumn<QList<QList<int>>>("bars");
        QTest::addColumn<double>("one");
        QTest::addColumn<double>("whole");
        // Against fair's 10 %: 20 in line 1 is 90 points off there and 10 in each other line.
        QTest::newRow("one lopsided")
            << QList<QList<int>>{{20, 0, 0, 0, 0, 0, 0, 0, 0, 0}} << 18.0 << 18.0;
        QTest::newRow("two that cancel")
            << QList<QList<int>>{{20, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 20, 0, 0, 0, 0, 0, 0, 0, 0}}
            << 18.0 << 16.0;
        QTest::newRow("an empty one is no experiment")
            << QList<QList<int>>{{2, 2, 2, 2, 2, 2, 2, 2, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}
            << 0.0 << 0.0;
    }
    void distanceIsTheMeanPointsOff() {
        QFETCH(QList<QList<int>>, bars);
        std::vector<ExperimentResult> experiments;
        for (const QList<int>& counts : bars) {
            ExperimentResult result{10, {}, 0};
            for (std::size_t c = 0; c < 10; ++c) {
                result.counts[c] = static_cast<std::uint64_t>(counts[static_cast<int>(c)]);
            }
            experiments.push_back(result);
        }
        ArrivalOdds fair{};
        fair.fill(0.1);
        const DistanceFromOdds distance = MeanDistance(experiments, fair);
        QFETCH(double, one);
        QFETCH(double, whole);
        QVERIFY(std::abs(distance.oneExperiment - one) < 1e-9);
        QVERIFY(std::abs(distance.wholeClass - whole) < 1e-9);
    }
    void distanceOfDrawnClassesMatchesADirectSum() {
        for (int rungs : {10, 30, 50}) {
            for (int size : {1, 12, 40}) {
                const std::vector<ExperimentResult> drawn =
                    DrawClass(rungs, size, static_cast<std::uint64_t>(7 * rungs + size));
                const ArrivalOdds odds =
                    ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
                double each = 0;
                int counted = 0;
                double pooled[10] = {};
                double all = 0;
                for (const ExperimentResult& e : drawn) {
                    const double n = static_cast<double>(Squares(e));
                    for (std::size_t c = 0; c < 10; ++c) {
                        pooled[c] += static_cast<double>(e.counts[c]);
                        each += n > 0 ? std::abs(e.counts[c] / n - odds[c]) * 10 : 0;
                    }
                    all += n;
                    counted += n > 0;
                }
                double whole = 0;
                for (std::size_t c = 0; c < 10; ++c) {
                    whole += std::abs(pooled[c] / all - odds[c]) * 10;
                }
                const DistanceFromOdds distance = MeanDistance(drawn, odds);
                QVERIFY(std::abs(distance.oneExperiment - each / counted) < 1e-9);
                QVERIFY(std::abs(distance.wholeClass - whole) < 1e-9);
                QCOMPARE(distance.trials, static_cast<std::uint64_t>(all));
            }
        }
    }

    // The band against experiments drawn by other code: about 95 % of the experiments of each
    // common length fall in it, for the start line and the likeliest, at 10, 30 and 50 rungs;
    // and it is wider than a binomial's where the stop at a full bar matters.
    void aboutNineteenInTwentyExperimentsFallInTheBand() {
        for (int rungs : {10, 30, 50}) {
            const ArrivalOdds odds =
                ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
            const ExperimentBands bands(odds, ClassSheet::kBandExperiments,
                                        static_cast<std::uint64_t>(rungs));
            std::mt19937_64 random(static_cast<std::uint64_t>(rungs) + 99);
            std::vector<ExperimentResult> drawn;
            for (int e = 0; e < 20000; ++e) {
                drawn.push_back(DrawExperiment(rungs, odds, random));
            }
            const int likeliest =
                static_cast<int>(std::max_element(odds.begin(), odds.end()) - odds.begin()) + 1;
            for (int line : {3, likeliest}) {
                const std::vector<ExperimentBands::Range>& band = bands.Band(line);
                QVERIFY(!band.empty());
                int inside = 0;
                int judged = 0;
                for (const ExperimentResult& e : drawn) {
                    const auto n = static_cast<int>(Squares(e));
                    const auto at = std::find_if(band.begin(), band.end(),
                                                 [n](const auto& r) { return r.trials == n; });
                    if (at == band.end()) {
                        continue;
                    }
                    const double share =
                        static_cast<double>(e.counts[static_cast<std::size_t>(line - 1)]) / n;
                    inside += share >= at->low && share <= at->high;
                    ++judged;
                }
                QVERIFY2(judged > 19000, qPrintable(QString("%1 of 20000").arg(judged)));
                const double covered = static_cast<double>(inside) / judged;
                QVERIFY2(
                    covered > 0.94 && covered < 0.985,
                    qPrintable(QString("rungs %1, line %2: %3").arg(rungs).arg(line).arg(covered)));
            }
        }
    }

    // Lines perhaps pasted twice are counted and named; a person may leave them out.
    void linesPerhapsPastedTwiceAreForAPersonToLeaveOut() {
        ClassSheet sheet;
        sheet.AddText("10 1 0 0 0 0 0 0 0 0 0\n10 1 0 0 0 0 0 0 0 0 0\n10 2 0 0 0 0 0 0 0 0 0\n");
        sheet.Pool();
        QCOMPARE(sheet.Experiments(), 3);
        QCOMPARE(sheet.PerhapsRepeated(), 1);
        QVERIFY(QString::fromStdString(sheet.Summary())
                    .contains("前の行と同じ、印のない行が 1 行あります（2 行目）。"));
        sheet.LeaveOutPerhapsRepeated(true);
        sheet.Pool();
        QCOMPARE(sheet.Experiments(), 2);
        QVERIFY(QString::fromStdString(sheet.Summary()).endsWith("この 1 行は数えていません。"));
    }

    // What a person last did is said until the next lines come, whatever the pooling says.
    void aNoticeOutlivesThePoolingItWasSaidBefore() {
        ClassSheet sheet;
        // This device's line, and one that waits to be kept: both added, the wait said.
        sheet.AddOwnLines("横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了　#k3f9a2　@" +
                              std::string(3, '0') + std::string(5, '1') + std::string(20, '2') +
                              std::string(7, '3') + std::string(4, '4') + std::string(2, '5') +
                              "6\n",
                          "横線50本　3 5 2 7 4 2 1 0 0 0　途中で終了\n", "空き容量がありません");
        sheet.Pool();
        const QString said = QString::fromStdString(sheet.Summary());
        QVERIFY2(said.startsWith("2 回の実験を追加しました。結果ファイルに書けなかった実験が 1 回"),
                 qPrintable(said));
        // As the pupil hands it in: without the order the device keeps.
        QVERIFY(!QString::fromStdString(sheet.Text()).contains("@"));
        sheet.AddText("横線10本　1 1 1 1 1 1 1 1 1 1　途中で終了\n");
        sheet.Pool();
        QVERIFY(!QString::fromStdString(sheet.Summary()).contains("追加"));
        QCOMPARE(sheet.Members(0).size(), std::size_t{1});
        QCOMPARE(sheet.Members(1).front().counts[2], 20ULL);
        QCOMPARE(sheet.Trend(1).back().trials, 42ULL + 24ULL);
        // The start line, and at 50 rungs the likeliest, line 1.
        QCOMPARE(sheet.FirstLines(1), (std::vector<int>{1, 3}));
        // A header row is named with its line, as a refused line is.
        ClassSheet headed;
        headed.AddText("グループ,横線,1本目,2本目,3本目\n" + std::string(60, '-') + "\n");
        headed.Pool();
        QVERIFY2(QString::fromStdString(headed.Summary()).contains("見出しの行 1 行（1 行目）"),
                 headed.Summary().c_str());
        // A file larger than a class's is refused whole, and said so.
        QVERIFY(!sheet.AddFile("big.csv", std::string(kMostClassLines + 1, '\n')));
        QVERIFY(!sheet.AddFile("huge.csv", std::string(kMostClassBytes + 1, ' ')));
        sheet.Pool();
        QVERIFY(
            QString::fromStdString(sheet.Summary()).startsWith("huge.csv は大きすぎて読めません"));
        QCOMPARE(sheet.Experiments(), 3);
        // Sentences joined in a language that spaces them keep a space between.
        texts::Use("en");
        ClassSheet english;
        english.AddOwnLines("横線10本　1 1 1 1 1 1 1 1 1 1　途中で終了\n", "", "");
        english.Pool();
        const std::string summary = english.Summary();
        texts::Use("ja");
        QVERIFY2(summary.starts_with("Added 1 experiment. Read 1 experiment."), summary.c_str());
    }
};

QTEST_APPLESS_MAIN(ClassTrendTest)
#include "test_class_trend.moc"
