#include <QTest>

#include "experiment_state.h"
#include "fairness_power.h"
#include "ladder_odds.h"
#include "odds_sheet.h"
#include "odds_sheet_text.h"

using namespace hashigoro;

// The answer sheet's model, which both windows only draw.
class OddsSheetTest : public QObject {
    Q_OBJECT

  private slots:
    // A choice stays when the other one changes, 0 rungs among them; out of range is brought in.
    void eachChoiceKeepsTheOther_data() {
        QTest::addColumn<QList<int>>("steps");  // pairs of (start or -1, rungs or -1)
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("rungs");
        QTest::newRow("the first choice") << QList<int>{} << 4 << 50;
        QTest::newRow("0 rungs, then a start") << QList<int>{-1, 0, 7, -1} << 7 << 0;
        QTest::newRow("225 rungs, then a start") << QList<int>{-1, 225, 2, -1} << 2 << 225;
        QTest::newRow("a start, then rungs") << QList<int>{11, -1, -1, 13} << 11 << 13;
        QTest::newRow("out of range") << QList<int>{1, 300} << 2 << 225;
        QTest::newRow("below range") << QList<int>{12, -5} << 11 << 0;
    }
    void eachChoiceKeepsTheOther() {
        QFETCH(QList<int>, steps);
        QFETCH(int, start);
        QFETCH(int, rungs);
        OddsSheet sheet;
        for (qsizetype i = 0; i + 1 < steps.size(); i += 2) {
            if (steps[i] != -1) {
                sheet.SetStart(steps[i]);
            }
            if (steps[i + 1] != -1) {
                sheet.SetRungs(steps[i + 1]);
            }
        }
        QCOMPARE(sheet.Start(), start);
        QCOMPARE(sheet.Rungs(), rungs);
        const ArrivalOdds odds = ExactArrivalOdds(start)[static_cast<std::size_t>(rungs)];
        QCOMPARE(sheet.ExactPercents()[0], 100 * odds[0]);
        QCOMPARE(sheet.TrialsForEighty(), TrialsForPower(odds, 0.8));
        QCOMPARE(sheet.PowerCurve().front().trials, 1.0);
        QCOMPARE(sheet.DistancePercents().size(), std::size_t{226});
        QVERIFY(QString::fromStdString(sheet.DistanceSentence())
                    .startsWith(QString("横線 %1 本：").arg(rungs)));
    }

    // The neighbours worked out ahead are each worked out once, and are what a sheet that
    // goes straight to them works out, across a change of start line too.
    void neighboursWorkedOutAhead_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("rungs");       // chosen in turn, each followed by work ahead
        QTest::addColumn<QList<int>>("aheadCalls");  // how many found something to do
        // Each count: the rung counts beside the chosen one not yet known, and the start lines
        // beside it (one at the first start line), among the choices last worked out.
        QTest::newRow("down by one") << 3 << QList<int>{49, 48, 47} << QList<int>{2, 3, 3};
        QTest::newRow("up, then back") << 4 << QList<int>{20, 21, 20, 19} << QList<int>{4, 3, 0, 3};
        QTest::newRow("at the ends") << 6 << QList<int>{0, 225, 224} << QList<int>{3, 3, 3};
        QTest::newRow("a jump") << 2 << QList<int>{10, 100, 99} << QList<int>{3, 3, 2};
    }
    void neighboursWorkedOutAhead() {
        QFETCH(int, start);
        QFETCH(QList<int>, rungs);
        QFETCH(QList<int>, aheadCalls);
        OddsSheet sheet;
        sheet.SetRungs(50);
        sheet.WorkAhead();  // for the experiment's start line: of use from it only
        sheet.SetStart(start);
        for (qsizetype i = 0; i < rungs.size(); ++i) {
            sheet.SetRungs(rungs[i]);
            OddsSheet fresh;
            fresh.SetStart(start);
            fresh.SetRungs(rungs[i]);
            QCOMPARE(sheet.TrialsForEighty(), fresh.TrialsForEighty());
            QCOMPARE(sheet.PowerCurve().size(), fresh.PowerCurve().size());
            for (std::size_t k = 0; k < fresh.PowerCurve().size(); ++k) {
                QCOMPARE(sheet.PowerCurve()[k].percent, fresh.PowerCurve()[k].percent);
            }
            int calls = 0;
            while (sheet.WorkAhead()) {
                ++calls;
            }
            QCOMPARE(calls, aheadCalls[i]);
        }
        // A start line beside the last choice comes from the sums worked out ahead.
        const int beside = start < kLastColumn ? start + 1 : start - 1;
        sheet.SetStart(beside);
        OddsSheet fresh;
        fresh.SetStart(beside);
        fresh.SetRungs(rungs.back());
        QCOMPARE(sheet.TrialsForEighty(), fresh.TrialsForEighty());
        QCOMPARE(sheet.PowerCurve().back().percent, fresh.PowerCurve().back().percent);
    }

    // While the slider moves, only the rung counts beside it are worked out ahead.
    void startLinesWaitWhileTheSliderMoves() {
        OddsSheet sheet;
        int calls = 0;
        while (sheet.WorkAhead(false)) {
            ++calls;
        }
        QCOMPARE(calls, 2);
        QVERIFY(sheet.WorkAhead());  // a start line, once it rests
    }

    // One run of whole experiments per choice; a run for an earlier choice is not kept.
    void wholeExperimentsAreRunOncePerChoice() {
        OddsSheet sheet;
        sheet.SetRungs(10);
        auto first = sheet.ExperimentsToRun();
        QVERIFY(first);
        QCOMPARE(first->Rungs(), 10);
        QVERIFY(!sheet.ExperimentsToRun());  // handed out already
        QCOMPARE(sheet.ExperimentsSentence(), std::string("シミュレーション中…"));
        sheet.SetRungs(60);
        QVERIFY(!sheet.ExperimentsToRun());  // not a rung count of the experiment
        QVERIFY(QString::fromStdString(sheet.ExperimentsSentence()).contains("10〜50"));
        sheet.SetRungs(11);
        auto second = sheet.ExperimentsToRun();
        QVERIFY(second);
        while (first->Step(100)) {
        }
        sheet.ExperimentsDone(*first);  // for 10 rungs, no longer chosen
        QCOMPARE(sheet.ExperimentsSentence(), std::string("シミュレーション中…"));
        while (second->Step(100)) {
        }
        sheet.ExperimentsDone(*second);
        QCOMPARE(second->Done().Experiments(), odds_sheet::kWholeExperiments);
        QVERIFY(QString::fromStdString(sheet.ExperimentsSentence()).contains("2,000 回の実験から"));
        QVERIFY(!sheet.ExperimentsToRun());  // done
        sheet.SetStart(5);
        QVERIFY(sheet.ExperimentsToRun());  // a new start line needs its own
    }

    // A simulation stands beside the odds it was run with, and is judged both ways.
    void aSimulationIsShownBesideItsOwnOdds() {
        OddsSheet sheet;
        sheet.SetRungs(100);
        sheet.SimulationStarted(20);
        QCOMPARE(sheet.Rungs(), 20);
        QCOMPARE(sheet.Verdict(), std::string("シミュレーション中…"));
        ArrivalCounts counts{};
        counts[2] = 30;
        counts[3] = 10;
        sheet.SimulationFinished(counts, true);
        QCOMPARE(sheet.SimulatedPercents()[2], 75.0);
        const QString verdict = QString::fromStdString(sheet.Verdict());
        QVERIFY(verdict.startsWith("中止までの 40 回（横線 20 本）"));
        QVERIFY(verdict.endsWith("公平にしては偏りが大きすぎます：偶然とは考えにくいです。"));
        sheet.SetRungs(21);
        QCOMPARE(sheet.SimulatedPercents()[2], 0.0);
        sheet.SetRungs(20);
        sheet.SetStart(5);
        QCOMPARE(sheet.SimulatedPercents()[2], 0.0);
        sheet.SimulationStarted(30);
        sheet.SimulationFinished({}, true);
        QCOMPARE(sheet.Verdict(), std::string("中止しました。"));
    }
};

QTEST_APPLESS_MAIN(OddsSheetTest)
#include "test_odds_sheet.moc"
