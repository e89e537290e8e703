#include <QTest>

#include "odds_sheet_text.h"

using namespace hashigoro;
using namespace hashigoro::odds_sheet;

// The answer sheet's sentences, as every front end shows them.
class OddsSheetTextTest : public QObject {
    Q_OBJECT

  private slots:
    void trialsAreSaidAsAPersonWouldSayThem_data() {
        QTest::addColumn<qulonglong>("trials");
        QTest::addColumn<QString>("said");
        QTest::newRow("below a hundred, exactly") << 70ULL << "約 70 回";
        QTest::newRow("two figures") << 1092ULL << "約 1,100 回";
        QTest::newRow("rounded up") << 7718ULL << "約 7,700 回";
        QTest::newRow("millions") << 3550582ULL << "約 3,600,000 回";
    }
    void trialsAreSaidAsAPersonWouldSayThem() {
        QFETCH(qulonglong, trials);
        QFETCH(QString, said);
        QCOMPARE(QString::fromStdString(PowerSentence(50, trials)),
                 "横線 50 本なら、" + said + "の試行で 8 割の確率で『偶然とは考えにくい』と言えます。");
    }

    void aFairLadderAndCountsOutsideTheExperimentAreSaidSo() {
        QVERIFY(QString::fromStdString(PowerSentence(180, std::nullopt)).contains("ほとんど公平"));
        QCOMPARE(QString::fromStdString(ExperimentsSentence(60, 0, 0, 0, 0, 0)),
                 QString("この実験で使えるのは横線 10〜50 本です。"));
        QCOMPARE(QString::fromStdString(ExperimentsSentence(50, 2000, 1979, 108, 83, 130)),
                 QString("この実験を最後まで行うと、約 99 % の実験で、このはしごは『偶然とは考えに"
                         "くい』と判定されます。\n"
                         "（1 回の実験の試行回数は中央値 108 回、9 割の実験が 83〜130 回。"
                         "シミュレーションした 2,000 回の実験から）"));
    }

    void aVerdictJudgesAgainstTheExactOddsAndAgainstFair() {
        ChiSquareResult odds;
        odds.statistic = 7.6057;
        odds.degreesOfFreedom = 6;
        odds.pValue = 0.26841;
        FairnessResult fair;
        fair.statistic = 1234.5;
        fair.pValue = 1e-30;
        QCOMPARE(
            QString::fromStdString(Verdict(true, 20000, 10, odds, fair)),
            QString("中止までの 20,000 回（横線 10 本）：カイ二乗 7.61（自由度 6）、p = 0.268。\n"
                    "理論値との差は、偶然のばらつきで説明できる範囲です。\n"
                    "公平（どの線も 10 %）と比べると：カイ二乗 1234.50（自由度 9）、p < 0.001。\n"
                    "公平にしては偏りが大きすぎます：偶然とは考えにくいです。"));
        odds.pValue = 0.01;
        fair.pValue = 0.05;  // not below the level
        const QString both = QString::fromStdString(Verdict(false, 100, 10, odds, fair));
        QVERIFY(both.contains("理論値との差は、偶然とは考えにくい大きさです。"));
        QVERIFY(both.endsWith("p = 0.05。\n公平でないとまでは言えません。"));
    }

    void numbersAreGroupedByThousands_data() {
        QTest::addColumn<qulonglong>("value");
        QTest::addColumn<QString>("grouped");
        QTest::newRow("zero") << 0ULL << "0";
        QTest::newRow("three digits") << 999ULL << "999";
        QTest::newRow("four digits") << 1000ULL << "1,000";
        QTest::newRow("seven digits") << 1234567ULL << "1,234,567";
        QTest::newRow("the largest") << 18446744073709551615ULL << "18,446,744,073,709,551,615";
    }
    void numbersAreGroupedByThousands() {
        QFETCH(qulonglong, value);
        QFETCH(QString, grouped);
        QCOMPARE(QString::fromStdString(Grouped(value)), grouped);
    }
};

QTEST_APPLESS_MAIN(OddsSheetTextTest)
#include "test_odds_sheet_text.moc"
