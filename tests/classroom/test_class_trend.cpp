#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <sstream>
#include <tuple>

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

    // The sentence's two numbers: one line's points off its theoretical probability, for one
    // experiment (over the experiments with trials) and for the class.
    void distanceIsTheMeanPointsOff_data() {
        QTest::addColumn<QList<QList<int>>>("bars");
        QTest::addColumn<int>("line");
        QTest::addColumn<double>("one");
        QTest::addColumn<double>("whole");
        // Against fair's 10 %: 20 in line 1 is 90 points off there, and 10 in each other line.
        const QList<int> first{20, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        const QList<int> second{0, 20, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("one lopsided") << QList<QList<int>>{first} << 1 << 90.0 << 90.0;
        QTest::newRow("one lopsided, another line")
            << QList<QList<int>>{first} << 4 << 10.0 << 10.0;
        QTest::newRow("two that cancel") << QList<QList<int>>{first, second} << 1 << 50.0 << 40.0;
        QTest::newRow("an uneven pair")
            << QList<QList<int>>{first, {20, 20, 0, 0, 0, 0, 0, 0, 0, 0}} << 2 << 25.0
            << 23.33333333333;
        QTest::newRow("an empty one is no experiment")
            << QList<QList<int>>{{2, 2, 2, 2, 2, 2, 2, 2, 2, 2}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}
            << 3 << 0.0 << 0.0;
    }
    void distanceIsTheMeanPointsOff() {
        QFETCH(QList<QList<int>>, bars);
        QFETCH(int, line);
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
        const DistanceFromOdds distance = MeanDistance(experiments, fair, line);
        QFETCH(double, one);
        QFETCH(double, whole);
        QVERIFY2(std::abs(distance.oneExperiment - one) < 1e-9,
                 qPrintable(QString::number(distance.oneExperiment)));
        QVERIFY2(std::abs(distance.wholeClass - whole) < 1e-9,
                 qPrintable(QString::number(distance.wholeClass)));
    }
    void distanceOfDrawnClassesMatchesADirectSum() {
        for (int rungs : {10, 30, 50}) {
            for (int size : {1, 12, 40}) {
                const std::vector<ExperimentResult> drawn =
                    DrawClass(rungs, size, static_cast<std::uint64_t>(7 * rungs + size));
                const ArrivalOdds odds =
                    ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
                for (std::size_t c = 0; c < 10; ++c) {
                    double each = 0;
                    int counted = 0;
                    double pooled = 0;
                    double all = 0;
                    for (const ExperimentResult& e : drawn) {
                        const double n = static_cast<double>(Squares(e));
                        pooled += static_cast<double>(e.counts[c]);
                        each += n > 0 ? std::abs(e.counts[c] / n - odds[c]) * 100 : 0;
                        all += n;
                        counted += n > 0;
                    }
                    const DistanceFromOdds distance =
                        MeanDistance(drawn, odds, static_cast<int>(c) + 1);
                    QVERIFY(std::abs(distance.oneExperiment - each / counted) < 1e-9);
                    QVERIFY(std::abs(distance.wholeClass - std::abs(pooled / all - odds[c]) * 100) <
                            1e-9);
                    QCOMPARE(distance.trials, static_cast<std::uint64_t>(all));
                }
            }
        }
    }

    // The trend's axis begins where its data begins and ends at the power of ten above its last
    // point.
    void theTrendsAxisBeginsWhereItsDataBegins_data() {
        QTest::addColumn<QList<double>>("firsts");
        QTest::addColumn<QList<double>>("lasts");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("no curve") << QList<double>{} << QList<double>{} << 1.0 << 10.0;
        QTest::newRow("one experiment's 73")
            << QList<double>{73} << QList<double>{73} << 73.0 << 100.0;
        QTest::newRow("a class of 2,707")
            << QList<double>{85, 85} << QList<double>{2707, 2707} << 85.0 << 10000.0;
        QTest::newRow("exactly 1,000")
            << QList<double>{91} << QList<double>{1000} << 91.0 << 10000.0;
    }
    void theTrendsAxisBeginsWhereItsDataBegins() {
        QFETCH(QList<double>, firsts);
        QFETCH(QList<double>, lasts);
        std::vector<ClassSheet::Points> curves(static_cast<std::size_t>(firsts.size()));
        for (qsizetype i = 0; i < firsts.size(); ++i) {
            curves[static_cast<std::size_t>(i)].x = {firsts[i], lasts[i]};
        }
        curves.emplace_back();  // a line with no point changes nothing
        const ClassSheet::Axis axis = ClassSheet::TrendAxis(curves);
        QFETCH(double, low);
        QFETCH(double, high);
        QCOMPARE(axis.low, low);
        QCOMPARE(axis.high, high);
    }

    // The sentence under the charts speaks of the line they show, with its two numbers in
    // their places.
    void theSentenceSpeaksOfTheLineShown() {
        ClassSheet sheet;
        sheet.AddText("10 20 0 0 0 0 0 0 0 0 0\n10 20 20 0 0 0 0 0 0 0 0\n");
        sheet.Pool();
        const ArrivalOdds& exact = sheet.Groups().front().exact;
        // Line 2 holds none of the first experiment's 20 and half the second's 40.
        const double one = (exact[1] + std::abs(0.5 - exact[1])) * 50;
        const double whole = std::abs(20.0 / 60 - exact[1]) * 100;
        QCOMPARE(
            QString::fromStdString(sheet.DistanceSentence(0, ClassSheet::SpreadLine({2, 5}))),
            QString("2本目の相対度数は、1 回の実験では理論値から平均 %1 ポイント離れていましたが、"
                    "クラス全体（60 回の試行）では %2 ポイントでした。")
                .arg(one, 0, 'f', 1)
                .arg(whole, 0, 'f', 1));
        QCOMPARE(ClassSheet::SpreadLine({}), 3);
    }

    // The bands against experiments drawn by other code, whole ones and ones stopped by hand
    // after 1 to 200 arrivals, at 10, 30 and 50 rungs, for the start line and the likeliest.
    // At every number of trials that holds 0.5 % of the experiments of a kind, the band holds
    // within 1.5 points of 95 % of them, or, where a line's few values let no interval come
    // so near, as near as the best interval of those drawn, each give or take three standard
    // errors of the draw. Every number of trials that 0.1 % of them reach has a band.
    void nineteenInTwentyExperimentsOfEachLengthFallInTheBand() {
#ifdef HASHIGORO_SANITIZE
        // Every path of the reckoning, with the draw's error three times as wide.
        constexpr int kDrawn = 25000;
#else
        constexpr int kDrawn = 200000;
#endif
        for (int rungs : {10, 30, 50}) {
            const ArrivalOdds odds =
                ExactArrivalOdds(kStartColumn)[static_cast<std::size_t>(rungs)];
            const ExperimentBands bands(odds);
            std::mt19937_64 random(static_cast<std::uint64_t>(rungs) + 99);
            std::vector<ExperimentResult> ended;
            std::vector<ExperimentResult> stopped;
            for (int e = 0; e < kDrawn; ++e) {
                ended.push_back(DrawExperiment(rungs, odds, random));
                ExperimentResult early = DrawExperiment(rungs, odds, random, 1 + random() % 200);
                if (early.fullLine == 0) {
                    stopped.push_back(early);
                }
            }
            const int likeliest =
                static_cast<int>(std::max_element(odds.begin(), odds.end()) - odds.begin()) + 1;
            for (int line : {3, likeliest}) {
                const auto c = static_cast<std::size_t>(line - 1);
                for (const auto& [kind, drawn, band] :
                     {std::tuple{"ended", &ended, &bands.Ended(line)},
                      std::tuple{"stopped", &stopped, &bands.Stopped(line)}}) {
                    // The counts of the line among the experiments of each length.
                    std::map<std::uint64_t, std::vector<std::uint64_t>> byLength;
                    for (const ExperimentResult& e : *drawn) {
                        byLength[Squares(e)].push_back(e.counts[c]);
                    }
                    std::uint64_t reaching = drawn->size();
                    for (const auto& [n, counts] : byLength) {
                        const QString where = QString("%1 rungs, line %2, %3 after %4")
                                                  .arg(rungs)
                                                  .arg(line)
                                                  .arg(kind)
                                                  .arg(n);
                        const auto at = std::find_if(band->begin(), band->end(), [n = n](auto& r) {
                            return r.trials == static_cast<int>(n);
                        });
                        // 0.1 % of them, and three standard errors of the draw.
                        const double tenth = static_cast<double>(drawn->size()) / 1000;
                        if (static_cast<double>(reaching) >= tenth + 3 * std::sqrt(tenth)) {
                            QVERIFY2(at != band->end(), qPrintable(where + ": no band"));
                        }
                        reaching -= counts.size();
                        if (counts.size() < drawn->size() / 200) {
                            continue;
                        }
                        const auto m = static_cast<double>(counts.size());
                        const double inside =
                            static_cast<double>(std::count_if(
                                counts.begin(), counts.end(),
                                [&, n = n](std::uint64_t k) {
                                    const double share = static_cast<double>(k) / n;
                                    return share >= at->low - 1e-12 && share <= at->high + 1e-12;
                                })) /
                            m;
                        // The nearest any interval of the counts drawn comes to 95 %.
                        std::vector<double> below(kFullBar + 2, 0);
                        for (std::uint64_t k : counts) {
                            below[k + 1] += 1 / m;
                        }
                        for (std::size_t k = 1; k < below.size(); ++k) {
                            below[k] += below[k - 1];
                        }
                        double nearest = 1;
                        for (std::size_t a = 0; a + 1 < below.size(); ++a) {
                            for (std::size_t b = a + 1; b < below.size(); ++b) {
                                nearest = std::min(nearest, std::abs(below[b] - below[a] - 0.95));
                            }
                        }
                        const double error = 3 * std::sqrt(0.95 * 0.05 / m);
                        QVERIFY2(std::abs(inside - 0.95) <= std::max(0.015, nearest) + error,
                                 qPrintable(where + QString(": %1 of %2 inside, %3 at best")
                                                        .arg(inside)
                                                        .arg(m)
                                                        .arg(0.95 - nearest)));
                    }
                }
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
