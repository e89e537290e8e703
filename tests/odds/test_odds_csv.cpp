#include <QTest>

#include "comma_locale.h"
#include "experiment_state.h"
#include "ladder_odds.h"
#include "odds_csv.h"
#include "plain_number.h"

using namespace hashigoro;

class OddsCsvTest : public QObject {
    Q_OBJECT

  private slots:
    void theTableHasAHeaderAndOneRowForEveryRungCount() {
        const std::string csv = OddsCsv(ExactArrivalOdds(4));
        QVERIFY(
            csv.starts_with("rungs,col2,col3,col4,col5,col6,col7,col8,col9,col10,col11\n"
                            "0,0,0,1,0,0,0,0,0,0,0\n"
                            "1,0,0.1111111111111111,0.77777777777777779,0.1111111111111111,"));
        QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), 227);
    }

    // From a bug: under a locale with a decimal comma (de_DE, fr_FR), which a window's toolkit
    // adopts from the desktop, the CSV got commas inside its fields.
    void numbersKeepTheirPointUnderADecimalCommaLocale() {
        std::string csv;
        {
            testing::CommaLocale comma;
            QVERIFY(comma.Active());
            csv = OddsCsv(ExactArrivalOdds(kStartColumn));
            QCOMPARE(PlainNumber(1234.5, 6, NumberStyle::Fixed), std::string("1234.500000"));
        }
        QVERIFY(csv.find("\n1,0,0.1111111111111111,0.77777777777777779,") != std::string::npos);
        int line = 0;
        std::size_t from = 0;
        for (std::size_t end; (end = csv.find('\n', from)) != std::string::npos; from = end + 1) {
            const std::string row = csv.substr(from, end - from);
            QVERIFY2(std::count(row.begin(), row.end(), ',') == 10, row.c_str());
            ++line;
        }
        QCOMPARE(line, 227);
    }

    void plainNumbersAreWrittenAsPrintfWouldInTheCLocale_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("text");
        QTest::newRow("a third, 17 digits") << 1.0 / 3 << 17 << false << "0.33333333333333331";
        QTest::newRow("one") << 1.0 << 17 << false << "1";
        QTest::newRow("zero") << 0.0 << 17 << false << "0";
        QTest::newRow("tiny") << 1.5e-70 << 17 << false << "1.5000000000000001e-70";
        QTest::newRow("fixed, six places") << 1234.5 << 6 << true << "1234.500000";
        QTest::newRow("no group separator") << 1234567.0 << 4 << true << "1234567.0000";
    }
    void plainNumbersAreWrittenAsPrintfWouldInTheCLocale() {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(bool, fixed);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(PlainNumber(
                     value, digits, fixed ? NumberStyle::Fixed : NumberStyle::Significant)),
                 text);
    }
};

QTEST_APPLESS_MAIN(OddsCsvTest)
#include "test_odds_csv.moc"
