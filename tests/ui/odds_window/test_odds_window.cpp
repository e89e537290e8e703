#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include "application_setup.h"
#include "class_trend_charts.h"
#include "class_window.h"
#include "experiment_result.h"
#include "fairness_power.h"
#include "ladder_odds.h"
#include "odds_window.h"
#include "own_trend_chart.h"
#include "results_file.h"

using namespace hashigoro;

class OddsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpApplication(*qobject_cast<QApplication*>(qApp)); }

    void theWindowShowsTheExactOddsAndASimulationBesideThem() {
        OddsWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QString(" はしごろう＿理論値"));
        QVERIFY(window.frameGeometry().width() <= 1024 && window.frameGeometry().height() <= 600);
        QCOMPARE(window.Rungs(), 50);
        QCOMPARE(window.Start(), 4);

        window.SetStart(2);
        window.SetRungs(10);
        const ArrivalOdds odds = ExactArrivalOdds(2)[10];
        for (int c = 0; c < 10; ++c) {
            QCOMPARE(window.ShownPercentages()[c], 100 * odds[c]);
        }
        // The bars are drawn in the program's red.
        const QImage chart = window.BarChart()->grab().toImage();
        int red = 0;
        for (int y = 0; y < chart.height(); ++y) {
            for (int x = 0; x < chart.width(); ++x) {
                red += chart.pixel(x, y) == qRgb(255, 0, 0);
            }
        }
        QVERIFY2(red > 2000, qPrintable(QString::number(red)));

        window.Simulate(10, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Runner().IsRunning(), 30000);
        QVERIFY2(window.Verdict().contains("20,000 回（横線 10 本）"),
                 qPrintable(window.Verdict()));
    }

    // From a bug: a start line or rung count chosen while a simulation ran made the window judge
    // the finished run against odds it was not run with, and call the difference too large.
    void aRunIsJudgedAgainstTheOddsItRanWith() {
        OddsWindow window;
        window.SetStart(4);
        window.Simulate(10, 100000);
        window.SetStart(2);
        window.SetRungs(30);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Runner().IsRunning(), 60000);
        const QString verdict = window.Verdict();
        // Start 2 and 30 rungs lie so far from start 4 and 10 rungs that a run judged against
        // them would give a chi-square in the thousands.
        const double statistic = verdict.section("カイ二乗 ", 1).section("（", 0, 0).toDouble();
        QVERIFY2(verdict.contains("（横線 10 本）") && statistic > 0 && statistic < 60,
                 qPrintable(verdict));
        // The simulated bars stand only beside the odds they were run with.
        QCOMPARE(window.ObservedPercentages(), (std::array<double, 10>{}));
        window.SetStart(4);
        window.SetRungs(10);
        QVERIFY(window.ObservedPercentages()[2] > 20);
    }

    // How soon a class sees the bias: from the exact odds, and from whole experiments run in
    // the background.
    void theWindowSaysHowManyTrialsShowTheBias() {
        OddsWindow window;
        window.SetStart(4);
        window.SetRungs(50);
        const auto trials = TrialsForPower(ExactArrivalOdds(4)[50], 0.8).value();
        QCOMPARE(
            window.PowerSentence(),
            QString(
                "横線 50 本なら、約 %1 回の試行で 8 割の確率で『偶然とは考えにくい』と言えます。")
                .arg(trials));
        QTRY_VERIFY_WITH_TIMEOUT(!window.ExperimentsRunning(), 60000);
        QVERIFY2(window.ExperimentsSentence().startsWith("この実験を最後まで行うと、約 "),
                 qPrintable(window.ExperimentsSentence()));
        QVERIFY(window.ExperimentsSentence().contains("2,000 回の実験から"));
        // Counts the experiment cannot use have no whole experiments.
        window.SetRungs(120);
        QCOMPARE(window.ExperimentsSentence(), QString("この実験で使えるのは横線 10〜50 本です。"));
        // The power curve is drawn in the program's red.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage chart = window.PowerChart()->grab().toImage();
        int red = 0;
        for (int y = 0; y < chart.height(); ++y) {
            for (int x = 0; x < chart.width(); ++x) {
                red += chart.pixel(x, y) == qRgb(255, 0, 0);
            }
        }
        QVERIFY2(red > 150, qPrintable(QString::number(red)));
    }

    // From a review: a save that failed said nothing.
    void aFailedSaveSaysSo_data() {
        QTest::addColumn<bool>("csv");
        QTest::newRow("CSV") << true;
        QTest::newRow("PNG") << false;
    }
    void aFailedSaveSaysSo() {
        QFETCH(bool, csv);
        OddsWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QString told;
        QTimer::singleShot(100, &window, [&] {
            if (auto* box = window.findChild<QMessageBox*>("SaveFailure")) {
                told = box->text();
                box->accept();
            }
        });
        const QString path = "/proc/no-such-folder/odds." + QString(csv ? "csv" : "png");
        QVERIFY(!(csv ? window.SaveCsv(path) : window.SavePng(path)));
        QVERIFY2(told.contains(path), qPrintable(told));

        QTemporaryDir folder;
        const QString good = folder.filePath(csv ? "odds.csv" : "odds.png");
        QVERIFY(csv ? window.SaveCsv(good) : window.SavePng(good));
        QVERIFY(QFileInfo(good).size() > 1000);
    }

    // The class part: lines pasted, pooled by rung count, shown as a table with both verdicts
    // and saved as CSV.
    void aClassesLinesArePooledAndShown() {
        OddsWindow window;
        ClassWindow* part = window.ClassResults();
        part->AddText(
            "横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了\n"
            "30 1 1 1 1 1 1 1 1 1 1\n"
            "よろしく\n50,3,5,20,7,4,2,1,0,0,0");
        // Pooled in slices where the machine is slow (a sanitized build beside other tests).
        QTRY_COMPARE(part->GroupChoice()->count(), 2);
        // The group with the most experiments first.
        QCOMPARE(part->GroupChoice()->currentText(),
                 QString("横線 50 本：2 回の実験、84 回の試行"));
        QCOMPARE(part->Table()->item(2, 1)->text(), QString("40"));
        part->GroupChoice()->setCurrentIndex(0);
        QCOMPARE(part->Table()->item(0, 1)->text(), QString("1"));
        QCOMPARE(part->Table()->item(0, 2)->text(), QString("10.0"));
        part->GroupChoice()->setCurrentIndex(1);
        QVERIFY(part->VerdictText().contains("公平にしては偏りが大きすぎます"));
        QVERIFY(part->Summary().contains("読めなかった行が 1 行"));
        QTemporaryDir folder;
        const QString path = folder.filePath("class.csv");
        QVERIFY(part->SaveCsv(path));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("50,2,84,3,40,0.476190,"));
        // This computer's own lines, added twice, count once; a line with markup stays text.
        qputenv("XDG_DATA_HOME", folder.path().toUtf8());
        QCOMPARE(ResultsFile(ResultsFile::DefaultPath())
                     .Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了　#abc123\n<b>12</b> 3\n"),
                 0);
        part->AddOwnResults();
        part->AddOwnResults();
        QTRY_VERIFY2(
            part->Summary().startsWith("この端末の実験はもうすべて入っています。4 回の実験"),
            qPrintable(part->Summary()));
        const QList<QLabel*> labels = part->findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->textFormat() == Qt::PlainText && label->text().contains("<b>12</b> 3");
        }));
    }

    // The settling and the experiments against the class, for a class of 2,222 lines: the
    // start line and the likeliest at first, each chosen line a curve and a dashed level, drawn
    // again when the lines shown change; the sentence is the model's.
    void aLargeClassSettlesOnTheTheoreticalProbability() {
        std::string lines;
        for (int e = 0; e < 2222; ++e) {
            const int rungs = 10 + 10 * (e % 5);
            lines += "横線" + std::to_string(rungs) + "本　" + std::to_string(e % 7) +
                     " 20 3 4 5 6 2 1 0 " + std::to_string(e % 3) + "　2本目が満杯で終了　#" +
                     ExperimentTag(static_cast<std::uint64_t>(e)) + "\n";
        }
        ClassWindow part;
        part.AddText(QString::fromStdString(lines));
        QTRY_COMPARE_WITH_TIMEOUT(part.GroupChoice()->count(), 5, 30000);
        ClassTrendCharts* charts = part.Trend();
        // 445 experiments at 10 rungs, where the start line is the likeliest.
        QCOMPARE(part.GroupChoice()->currentIndex(), 0);
        QCOMPARE(charts->ChosenLines(), (std::vector<int>{3}));
        part.GroupChoice()->setCurrentIndex(4);
        QCOMPARE(charts->ChosenLines(), (std::vector<int>{1, 3}));
        // Chosen again and drawn, as a person sees them; how soon is the bench's row.
        for (const std::vector<int>& chosen :
             {std::vector<int>{2, 5}, std::vector<int>{1, 2, 3}, std::vector<int>{1, 2, 3, 10}}) {
            charts->ChooseLines(chosen);
            QCOMPARE(charts->ChosenLines(), chosen);
            charts->TrendView()->grab();
            charts->SpreadView()->grab();
        }
        const QList<QAbstractSeries*> series = charts->TrendView()->chart()->series();
        QCOMPARE(series.size(), 8);
        QCOMPARE(static_cast<QLineSeries*>(series[0])->count(), 444);
        QCOMPARE(series[0]->name(), QString("1本目"));
        QCOMPARE(series[1]->name(), QString("1本目の理論値"));
        QCOMPARE(charts->SpreadView()->chart()->title(),
                 QString("1 回の実験とクラス全体（1本目）"));
        QVERIFY(charts->Sentence().startsWith("1本目の相対度数は、1 回の実験では理論値から平均 "));
        QTemporaryDir folder;
        QVERIFY(part.SaveTrendCsv(folder.filePath("trend.csv")));
        QFile saved(folder.filePath("trend.csv"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().count("rungs,experiments,trials,1,2,3,4,5,6,7,8,9,10\n"), 5);
    }

    // Lines perhaps pasted twice: counted and named, and left out, or counted again, with one
    // click.
    void linesPerhapsPastedTwiceAreLeftOutWithOneClick() {
        ClassWindow part;
        part.AddText("10 1 0 0 0 0 0 0 0 0 0\n10 1 0 0 0 0 0 0 0 0 0\n");
        auto* leaveOut = part.findChild<QPushButton*>("ClassLeaveOut");
        QTRY_VERIFY(part.Summary().contains("（2 行目）"));
        QVERIFY(!leaveOut->isHidden());
        leaveOut->click();
        QTRY_VERIFY(part.Summary().endsWith("この 1 行は数えていません。"));
        QCOMPARE(leaveOut->text(), QString("除いた行を数に戻す"));
        QVERIFY(part.Summary().startsWith("1 回の実験を読みました。"));
    }

    // This computer's experiments whose lines keep their order, the newest first, each line's
    // relative frequency after each arrival beside its theoretical probability.
    void thisComputersExperimentsSettleArrivalByArrival() {
        QTemporaryDir folder;
        qputenv("XDG_DATA_HOME", folder.path().toUtf8());
        QCOMPARE(ResultsFile(ResultsFile::DefaultPath())
                     .Append("横線10本　1 2 0 0 0 0 0 0 0 0　途中で終了　#abc123　@110\n"
                             "横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了\n"
                             "横線30本　0 1 1 0 0 0 0 0 0 0　途中で終了　#abc124　@21\n"),
                 0);
        ClassWindow part;
        OwnTrendChart* own = part.Own();
        QCOMPARE(own->Experiments()->count(), 2);
        QVERIFY(own->Experiments()->itemText(0).startsWith("横線30本"));
        QCOMPARE(own->Line()->currentText(), QString("3本目"));
        const auto curve = [own] {
            return static_cast<QLineSeries*>(own->View()->chart()->series().front())->points();
        };
        QCOMPARE(curve(), (QList<QPointF>{{1, 100}, {2, 50}}));
        own->Experiments()->setCurrentIndex(1);
        own->Line()->setCurrentIndex(1);
        QCOMPARE(curve(), (QList<QPointF>{{1, 100}, {2, 100}, {3, 200.0 / 3}}));
        QCOMPARE(own->View()->chart()->series().back()->name(), QString("2本目の理論値"));
    }
};

QTEST_MAIN(OddsWindowTest)
#include "test_odds_window.moc"
