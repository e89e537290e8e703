#include <QTest>

#include <cmath>
#include <string>

#include "comma_locale.h"
#include "leading_number.h"

using hashigoro::LeadingNumberValue;

Q_DECLARE_METATYPE(std::string)

class LeadingNumberTest : public QObject {
    Q_OBJECT

  private slots:
    void theValueIsTheNumberTheTextBeginsWith_data() {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<double>("value");
        const double inf = HUGE_VAL;
        const struct {
            const char* name;
            const char* text;
            double value;
        } rows[] = {
            {"plain integer", "30", 30},
            {"lowest accepted", "10", 10},
            {"highest accepted", "50", 50},
            {"decimal", "10.9", 10.9},
            {"decimal just below 50", "49.99", 49.99},
            {"counter word after the digits", "30本", 30},
            {"English word after a blank", "25 rungs", 25},
            {"blank between digits", "2 5", 25},
            {"tabs and line feeds between digits", "\t1\n5\t", 15},
            {"comma ends the number", "20,5", 20},
            {"hexadecimal", "&H14", 20},
            {"hexadecimal, lower case", "&h1e", 30},
            {"hexadecimal with blanks", "& H 1 4", 20},
            {"hexadecimal stops at a non-digit", "&H1G", 1},
            {"hexadecimal without digits", "&H", 0},
            {"octal", "&O24", 20},
            {"octal stops at 8", "&O78", 7},
            {"octal without digits", "&O9", 0},
            {"ampersand alone", "&14", 0},
            {"negative", "-20", -20},
            {"explicit plus", "+30", 30},
            {"blank after the sign", "- 20", -20},
            {"two signs", "+-5", 0},
            {"no number", "abc", 0},
            {"blanks only", "   ", 0},
            {"empty", "", 0},
            {"leading period", ".5", 0.5},
            {"trailing period", "5.", 5},
            {"second period ends the number", "1.2.3", 1.2},
            {"period alone", ".", 0},
            {"exponent", "1e1", 10},
            {"exponent with sign, upper case", "2.5E+1", 25},
            {"negative exponent", "300e-1", 30},
            {"blanks inside the exponent", "1 e 1", 10},
            {"E without digits ends the number", "5e", 5},
            {"E and sign without digits", "5e+", 5},
            {"text starting with E", "e5", 0},
            {"full-width digits", "３０", 30},
            {"full-width and ASCII digits mixed", "３0本", 30},
            {"full-width digits with a blank", "２ ５", 25},
            {"full-width minus", "－２０", -20},
            {"full-width plus", "＋２０", 20},
            {"minus sign U+2212", "−20", -20},
            {"full-width period", "５０．５", 50.5},
            {"ideographic space is a blank", "　２０", 20},
            {"full-width comma ends the number", "２０，５", 20},
            {"full-width exponent", "１ｅ１", 10},
            {"full-width hexadecimal", "＆Ｈ１４", 20},
            {"full-width hexadecimal letters", "＆ｈＡｆ", 175},
            {"full-width octal", "＆ｏ２４", 20},
            {"overlong UTF-8 is no digit", "3\xc0\xb5", 3},
            {"a stray continuation byte is no blank (found by the fuzzer)",
             "\xa0"
             "30",
             0},
            {"leading zeros", "0000000000000000000000030", 30},
            {"carriage return ends the number", "20\r5", 20},
            {"invalid UTF-8 ends the number",
             "3\xff"
             "0",
             3},
            {"invalid UTF-8 at the start",
             "\xff"
             "30",
             0},
            {"huge exponent", "1e400", inf},
            {"tiny exponent", "1e-400", 0},
            {"huge negative", "-1e999", -inf},
            {"exponent digits beyond any integer", "1e99999999999999999999999", inf},
            {"hexadecimal wider than 64 bits", "&H10000000000000000000014", 0x1p88 + 20},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name) << std::string(row.text) << row.value;
        }
        QTest::newRow("four hundred digits") << ("1" + std::string(400, '0')) << inf;
        QTest::newRow("many digits with an exponent back into range")
            << ("3" + std::string(400, '0') + "e-399") << 30.0;
        QTest::newRow("long fraction") << ("10." + std::string(300, '9')) << 11.0;
    }
    void theValueIsTheNumberTheTextBeginsWith() {
        QFETCH(std::string, text);
        QFETCH(double, value);
        const double actual = LeadingNumberValue(text);
        if (std::isinf(value)) {
            QCOMPARE(actual, value);
        } else {
            QVERIFY2(std::abs(actual - value) <= 1e-12 * std::max(1.0, std::abs(value)),
                     QByteArray::number(actual, 'g', 17).constData());
        }
    }

    // The desktop's window toolkit adopts the desktop's locale, with its decimal comma; the
    // entry's decimal separator is still the point, and only the point.
    void thePointIsTheSeparatorUnderADecimalCommaLocale() {
        hashigoro::testing::CommaLocale comma;
        QVERIFY(comma.Active());
        QCOMPARE(LeadingNumberValue("50.5"), 50.5);
        QCOMPARE(LeadingNumberValue("２０，５"), 20.0);
        QCOMPARE(LeadingNumberValue("1e400"), HUGE_VAL);
    }
};

QTEST_APPLESS_MAIN(LeadingNumberTest)
#include "test_leading_number.moc"
