#include <QElapsedTimer>
#include <QTest>

#include "catalogue.h"
#include "class_sheet.h"
#include "experiment_result.h"

using namespace hashigoro;

namespace {

ExperimentResult Example() {
    return {50, {3, 5, 20, 7, 4, 2, 1, 0, 0, 0}, 3};
}

}  // namespace

class ExperimentResultTest : public QObject {
    Q_OBJECT

  private slots:
    void theResultLineReadsAtAGlance() {
        QCOMPARE(QString::fromStdString(ResultLine(Example())),
                 QString("横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了"));
        ExperimentResult stopped = Example();
        stopped.fullLine = 0;
        stopped.counts[2] = 2;
        QCOMPARE(QString::fromStdString(ResultLine(stopped)),
                 QString("横線50本　3 5 2 7 4 2 1 0 0 0　途中で終了"));
    }

    // The device keeps the order of the arrivals after the line a pupil hands in; every reader
    // takes it, and the line with or without it is the same experiment, counted once.
    void theKeptLineCarriesTheOrder_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("kept");
        for (const char* language : {"ja", "en", "ko", "zh-Hans", "zh-Hant"}) {
            QTest::newRow(language) << QString(language) << QString();
        }
    }
    // An ended experiment with its tag and copied without it counts once, in either order;
    // two tags are two experiments, whatever their bars.
    void anEndedLineWithAndWithoutItsTagCountsOnce_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("counted");
        const QString ended = "横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了";
        QTest::newRow("tagged first") << QStringList{ended + "　#k3f9a2", ended} << 1;
        QTest::newRow("untagged first") << QStringList{ended, ended + "　#k3f9a2"} << 1;
        QTest::newRow("two tags and a copy")
            << QStringList{ended, ended + "　#k3f9a2", ended + "　#m4g8b3"} << 2;
        QTest::newRow("two copies, no tag") << QStringList{ended, ended} << 1;
    }
    void anEndedLineWithAndWithoutItsTagCountsOnce() {
        QFETCH(QStringList, lines);
        QFETCH(int, counted);
        const ReadResults read = ReadResultLines(lines.join('\n').toStdString());
        QCOMPARE(static_cast<int>(read.experiments.size()) - read.Repeats(), counted);
    }

    // A line in any wording a language has shipped reads as the same experiment: an older
    // version's lines still pool after a text is reworded.
    void everyReleasedWordingReads() {
        const ExperimentResult ended = Example();
        ExperimentResult stopped = Example();
        stopped.fullLine = 0;
        stopped.counts[2] = 2;
        for (const Language* language : texts::Languages()) {
            for (const TextEntry& rungs : language->released) {
                for (const TextEntry& ending : language->released) {
                    if (rungs.id != TextId::ResultRungs || ending.id == TextId::ResultRungs) {
                        continue;
                    }
                    const bool full = ending.id == TextId::ResultFull;
                    const std::string line = texts::Format(rungs.text, {"50"}) + " 3 5 " +
                                             (full ? "20" : "2") + " 7 4 2 1 0 0 0 " +
                                             texts::Format(ending.text, {"3"});
                    const ReadResults read = ReadResultLines(line);
                    QVERIFY2(read.rejected.empty() && read.experiments.size() == 1, line.c_str());
                    QVERIFY2(read.experiments[0].result == (full ? ended : stopped), line.c_str());
                }
            }
        }
    }

    void theKeptLineCarriesTheOrder() {
        QFETCH(QString, language);
        ExperimentResult result{10, {1, 2, 0, 0, 0, 0, 0, 0, 0, 0}, 0, "k3f9a2", {2, 1, 2}};
        QVERIFY(texts::Use(language.toStdString()));
        const std::string kept = KeptLine(result);
        const std::string handed = ResultLine(result);
        texts::Use("ja");
        QVERIFY(kept.starts_with(handed) && kept.ends_with("@101"));
        QCOMPARE(std::string(WithoutOrder(kept)), handed);
        const ReadResults read = ReadResultLines(kept + "\n" + handed + "\n");
        QVERIFY(read.rejected.empty());
        QCOMPARE(read.experiments.size(), std::size_t{2});
        QCOMPARE(read.experiments[0].result.order, result.order);
        QCOMPARE(read.experiments[0].result, result);
        QVERIFY(read.experiments[1].result.order.empty());
        QVERIFY(read.experiments[1].repeated);
    }

    // An order that does not hold the bars' squares is dropped, and the line read as without.
    void anOrderAtOddsWithTheBarsIsLeftOut_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("agrees") << "横線10本　1 2 0 0 0 0 0 0 0 0　途中で終了　@110"
                                << QList<int>{2, 2, 1};
        QTest::newRow("one too many")
            << "横線10本　1 2 0 0 0 0 0 0 0 0　途中で終了　@1101" << QList<int>{};
        QTest::newRow("another line")
            << "横線10本　1 2 0 0 0 0 0 0 0 0　途中で終了　@119" << QList<int>{};
        QTest::newRow("no digits")
            << "横線10本　1 2 0 0 0 0 0 0 0 0　途中で終了　@" << QList<int>{};
        QTest::newRow("after a tag, typed")
            << "50 20 0 0 0 0 0 0 0 0 1 1本目が満杯で終了 #abcd @" + QString(20, '0') + "9"
            << QList<int>(20, 1) + QList<int>{10};
    }
    void anOrderAtOddsWithTheBarsIsLeftOut() {
        QFETCH(QString, line);
        QFETCH(QList<int>, order);
        const ReadResults read = ReadResultLines(line.toStdString());
        QVERIFY2(read.rejected.empty(), qPrintable(line));
        QCOMPARE(read.experiments.size(), std::size_t{1});
        QCOMPARE(read.experiments[0].result.order, std::vector<int>(order.begin(), order.end()));
    }

    // Every way a class may write one experiment down is the same experiment.
    void everyFormIsRead_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("fullLine");
        QTest::newRow("spaces") << "50 3 5 20 7 4 2 1 0 0 0" << 0;
        QTest::newRow("commas") << "50,3,5,20,7,4,2,1,0,0,0" << 0;
        QTest::newRow("tabs, as a spreadsheet copies") << "50\t3\t5\t20\t7\t4\t2\t1\t0\t0\t0" << 0;
        QTest::newRow("full-width, typed by hand")
            << "横線50本：３　５　２０　７　４　２　１　０　０　０" << 0;
        QTest::newRow("the program's own line")
            << QString::fromStdString(ResultLine(Example())) << 3;
        QTest::newRow("a group's name with digits") << "3年2組: 50 3 5 20 7 4 2 1 0 0 0" << 0;
        QTest::newRow("a group's name, then the program's line")
            << "1班　" + QString::fromStdString(ResultLine(Example())) << 3;
        QTest::newRow("the rung count with 本") << "50本 3 5 20 7 4 2 1 0 0 0" << 0;
        QTest::newRow("a Windows line end") << "50 3 5 20 7 4 2 1 0 0 0\r" << 0;
    }
    void everyFormIsRead() {
        QFETCH(QString, line);
        QFETCH(int, fullLine);
        const ReadResults read = ReadResultLines(line.toStdString());
        QCOMPARE(read.rejected.size(), std::size_t{0});
        QCOMPARE(read.experiments.size(), std::size_t{1});
        ExperimentResult expected = Example();
        expected.fullLine = fullLine;
        QVERIFY(read.experiments[0].result == expected);
        QCOMPARE(read.experiments[0].line, 1);
    }

    // As classes write them: what follows an ending is left out but for a tag, wherever it
    // stands; full-width forms are the ASCII ones; a name before the numbers may hold numbers.
    void whatAClassWritesAroundALineIsLeftOut_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("fullLine");
        QTest::addColumn<QString>("tag");
        const QString ended = "横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了";
        const QString counts = "50 3 5 20 7 4 2 1 0 0 0";
        QTest::newRow("a full stop") << ended + "。" << 3 << "";
        QTest::newRow("quotes and a group after") << "「" + ended + "」（1班）" << 3 << "";
        QTest::newRow("an emoji and a date") << ended + " 😀 2026/12/08 10:32" << 3 << "";
        QTest::newRow("a tag after a bracket") << ended + "」　#K3F9A2" << 3 << "k3f9a2";
        QTest::newRow("a full-width tag") << ended + "　＃ｋ３ｆ９ａ２" << 3 << "k3f9a2";
        QTest::newRow("です after stopping")
            << "横線50本　3 5 20 7 4 2 1 0 0 0　途中で終了です！" << 0 << "";
        QTest::newRow("a blank before 本目")
            << "横線50本　3 5 20 7 4 2 1 0 0 0　3 本目が満杯で終了" << 3 << "";
        QTest::newRow("Group 1:") << "Group 1: " + counts << 0 << "";
        QTest::newRow("グループ1:") << "グループ1:" + counts << 0 << "";
        QTest::newRow("a class of 2-1") << "2-1 " + counts << 0 << "";
        QTest::newRow("a chat's time and name") << "10:32 田中: " + counts << 0 << "";
        QTest::newRow("full-width letters in the name") << "Ｂ組：" + counts << 0 << "";
        QTest::newRow("counts with units")
            << "50本,3回,5回,20回,7回,4回,2回,1回,0回,0回,0回" << 0 << "";
        QTest::newRow("numbers kept as text") << "'50,'3,'5,'20,'7,'4,'2,'1,'0,'0,'0" << 0 << "";
        QTest::newRow("units and an ending")
            << "横線 50本 3回 5回 20回 7回 4回 2回 1回 0回 0回 0回 途中で終了" << 0 << "";
    }
    void whatAClassWritesAroundALineIsLeftOut() {
        QFETCH(QString, line);
        QFETCH(int, fullLine);
        QFETCH(QString, tag);
        const ReadResults read = ReadResultLines(line.toStdString());
        QVERIFY2(read.rejected.empty(), read.rejected.empty() ? "" : read.rejected[0].text.c_str());
        QCOMPARE(read.experiments.size(), std::size_t{1});
        ExperimentResult expected = Example();
        expected.fullLine = fullLine;
        expected.tag = tag.toStdString();
        QVERIFY(read.experiments[0].result == expected);
    }

    // A class's lines come in every language the page speaks, and in each one's mistakes: the
    // same experiment in two languages counts once, and a Korean line pools with a Japanese one.
    void linesOfEveryLanguagePoolTogether_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("typed");  // a line a person of that language types
        QTest::newRow("Japanese") << "ja"
                                  << "横線 50 本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了";
        QTest::newRow("English") << "en"
                                 << "Team B: 50 Rungs, 3 5 20 7 4 2 1 0 0 0, Line 3 full, ended";
        QTest::newRow("Korean")
            << "ko"
            << "2모둠 가로선 50개 3 5 20 7 4 2 1 0 0 0 3번째 선이 가득 차서 끝남";
        QTest::newRow("Simplified Chinese")
            << "zh-Hans"
            << "第二组：横线50条，3 5 20 7 4 2 1 0 0 0，第3条线已满，结束";
        QTest::newRow("Traditional Chinese")
            << "zh-Hant"
            << "橫線５０條　３ ５ ２０ ７ ４ ２ １ ０ ０ ０　第３條線已滿，結束";
    }
    void linesOfEveryLanguagePoolTogether() {
        QFETCH(QString, code);
        QFETCH(QString, typed);
        QVERIFY(texts::Use(code.toStdString()));
        ExperimentResult tagged = Example();
        tagged.tag = "k3f9a2";
        ExperimentResult stopped = Example();
        stopped.fullLine = 0;
        stopped.counts[2] = 2;
        const std::string own = ResultLine(tagged) + "\n" + ResultLine(stopped) + "\n";
        texts::Use("ja");
        // Its own lines, the tagged one again in Japanese, and a line typed by hand.
        const std::string text = own + ResultLine(tagged) + "\n" + typed.toStdString();
        const ReadResults read = ReadResultLines(text);
        QCOMPARE(read.rejected.size(), std::size_t{0});
        QCOMPARE(read.experiments.size(), std::size_t{4});
        QVERIFY(read.experiments[0].result == tagged);
        QVERIFY(read.experiments[1].result == stopped);
        QVERIFY(read.experiments[2].repeated);
        QVERIFY(read.experiments[3].result == Example());
        // Typed by hand, the same ended experiment as the tagged line: counted once.
        QVERIFY(read.experiments[3].repeated);
        QCOMPARE(read.Repeats(), 2);
    }

    void whatCannotBeAnExperimentIsListedWithItsReason_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("reason");
        const auto row = [](const char* name, const char* line, RejectReason reason) {
            QTest::newRow(name) << QString(line) << static_cast<int>(reason);
        };
        row("nine counts", "50 3 5 20 7 4 2 1 0 0", RejectReason::NotTenCounts);
        row("eleven counts", "50 3 5 20 7 4 2 1 0 0 0 1", RejectReason::NotTenCounts);
        row("a decimal", "50 3 5 2.5 7 4 2 1 0 0 0", RejectReason::NotTenCounts);
        row("a negative count", "50 3 5 -2 7 4 2 1 0 0 0", RejectReason::NotTenCounts);
        row("a count above 20", "50 3 5 21 7 4 2 1 0 0 0", RejectReason::CountAboveTwenty);
        row("9 rungs", "9 3 5 20 7 4 2 1 0 0 0", RejectReason::RungsOutOfRange);
        row("51 rungs", "51 3 5 20 7 4 2 1 0 0 0", RejectReason::RungsOutOfRange);
        row("no numbers", "よろしくお願いします", RejectReason::NoNumbers);
    }
    void whatCannotBeAnExperimentIsListedWithItsReason() {
        QFETCH(QString, line);
        QFETCH(int, reason);
        // After a good first line, so that a line without numbers is no header.
        const ReadResults read =
            ReadResultLines("50 3 5 20 7 4 2 1 0 0 0\n" + line.toStdString() + "\n");
        QCOMPARE(read.experiments.size(), std::size_t{1});
        QCOMPARE(read.rejected.size(), std::size_t{1});
        QCOMPARE(static_cast<int>(read.rejected[0].reason), reason);
        QCOMPARE(read.rejected[0].line, 2);
        QCOMPARE(QString::fromStdString(read.rejected[0].text), line);
    }

    // What a class really hands in: every non-blank line read, left out as a repeat, taken for
    // a header, or refused with its reason.
    void everyLineIsReadOrRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("counted");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<int>("headers");
        QTest::addColumn<QList<int>>("reasons");
        const QString ended = QString::fromStdString(ResultLine(Example()));
        ExperimentResult tagged = Example();
        tagged.tag = ExperimentTag(0x2D5A3C1F);
        const QString withTag = QString::fromStdString(ResultLine(tagged));
        const QString stopped = "横線50本　3 5 2 7 4 2 1 0 0 0　途中で終了";
        const auto reason = [](RejectReason r) { return static_cast<int>(r); };
        QTest::newRow("two results on one line")
            << ended + "　" + stopped << 2 << 0 << 0 << QList<int>{};
        QTest::newRow("CR, U+2028 and U+2029 line ends")
            << "50 3 5 20 7 4 2 1 0 0 0\r30 1 2 3 4 5 6 7 8 9 10\u202810 1 1 1 1 1 1 1 1 1 1\u2029"
            << 3 << 0 << 0 << QList<int>{};
        QTest::newRow("a named group with a wrong count")
            << "B組: 50 3 5 20 7 4 2 1 0 0" << 0 << 0 << 0
            << QList<int>{reason(RejectReason::NotTenCounts)};
        QTest::newRow("cut short after 満杯 and after 3本目")
            << ended.chopped(3) + "\n" + ended.chopped(6) << 0 << 0 << 0
            << QList<int>{reason(RejectReason::EndingCutShort),
                          reason(RejectReason::EndingCutShort)};
        QTest::newRow("no trials, stopped or typed")
            << "横線10本　0 0 0 0 0 0 0 0 0 0　途中で終了\n10 0 0 0 0 0 0 0 0 0 0" << 0 << 0 << 0
            << QList<int>{reason(RejectReason::NoTrials), reason(RejectReason::NoTrials)};
        QTest::newRow("ended by a bar that is not full")
            << "横線50本　3 5 2 7 4 2 1 0 0 0　3本目が満杯で終了" << 0 << 0 << 0
            << QList<int>{reason(RejectReason::FullBarNotFull)};
        QTest::newRow("ended by line 0 and line 11")
            << "横線50本　3 5 20 7 4 2 1 0 0 0　0本目が満杯で終了\n横線50本　3 5 20 7 4 2 1 0 0 "
               "0　11本目が満杯で終了"
            << 0 << 0 << 0
            << QList<int>{reason(RejectReason::NoSuchLine), reason(RejectReason::NoSuchLine)};
        QTest::newRow("the same tagged line three times")
            << withTag + "\n" + withTag + "\n" + withTag << 1 << 2 << 0 << QList<int>{};
        QTest::newRow("the same ended line twice, untagged")
            << ended + "\n" + ended << 1 << 1 << 0 << QList<int>{};
        QTest::newRow("the same stopped line twice, untagged: two groups may agree")
            << stopped + "\n" + stopped << 2 << 0 << 0 << QList<int>{};
        QTest::newRow("two stopped lines again, untagged: counted, for a person to judge")
            << stopped + "\n10 1 0 0 0 0 0 0 0 0 0\n" + stopped + "\n10 1 0 0 0 0 0 0 0 0 0" << 4
            << 0 << 0 << QList<int>{};
        QTest::newRow("the same counts under two tags")
            << withTag + "\n" +
                   QString::fromStdString(ResultLine({50, Example().counts, 3, "zzzzzz"}))
            << 2 << 0 << 0 << QList<int>{};
        QTest::newRow("one tag, other counts: both refused, in any order")
            << stopped + "　#" + QString::fromStdString(tagged.tag) + "\n" + withTag + "\n" + ended
            << 1 << 0 << 0
            << QList<int>{reason(RejectReason::TagConflict), reason(RejectReason::TagConflict)};
        QTest::newRow("header rows, Japanese and English, and a table's fields")
            << "横線の本数,1本目,2本目,3本目,4本目,5本目,6本目,7本目,8本目,9本目,10本目\n\n"
               "rungs,col2,col3,col4,col5,col6,col7,col8,col9,col10,col11\n名前\t結果\n"
               "30 1 2 3 4 5 6 7 8 9 10\n   \n"
            << 1 << 0 << 3 << QList<int>{};
        QTest::newRow("a first line without numbers that is no header")
            << "よろしくお願いします\n" + ended << 1 << 0 << 0
            << QList<int>{reason(RejectReason::NoNumbers)};
    }
    // Untagged stopped lines alike are all counted, and every one after the first marked as
    // perhaps pasted twice, the same number of them in any order.
    void linesPerhapsPastedTwiceAreCountedAndMarked() {
        std::vector<std::string> lines = {"横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了",
                                          "横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了",
                                          "10 2 0 0 0 0 0 0 0 0 0",
                                          "10 2 0 0 0 0 0 0 0 0 0",
                                          "10 2 0 0 0 0 0 0 0 0 0",
                                          "10 3 0 0 0 0 0 0 0 0 0"};
        std::sort(lines.begin(), lines.end());
        do {
            std::string text;
            for (const std::string& line : lines) {
                text += line + "\n";
            }
            const ReadResults read = ReadResultLines(text);
            QCOMPARE(read.experiments.size(), std::size_t{6});
            QCOMPARE(read.Repeats(), 0);
            QCOMPARE(read.PerhapsRepeated().size(), std::size_t{3});
        } while (std::next_permutation(lines.begin(), lines.end()));
        QCOMPARE(
            ReadResultLines("10 2 0 0 0 0 0 0 0 0 0\n\n10 2 0 0 0 0 0 0 0 0 0").PerhapsRepeated(),
            std::vector<int>{3});
    }

    // A conflict names the other line, in the window's words and the command line's.
    void aTagConflictNamesTheOtherLine() {
        const ReadResults read = ReadResultLines(
            "横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了　#abcd12\n\n"
            "横線10本　2 0 0 0 0 0 0 0 0 0　途中で終了　#ABCD12");
        QCOMPARE(read.rejected.size(), std::size_t{2});
        QCOMPARE(read.rejected[0].line, 1);
        QCOMPARE(read.rejected[0].other, 3);
        QCOMPARE(QString::fromStdString(RejectedWhy(read.rejected[1])),
                 QString("1 行目に、同じ印で数の違う行があります"));
    }

    void everyLineIsReadOrRefused() {
        QFETCH(QString, text);
        QFETCH(int, counted);
        QFETCH(int, repeats);
        QFETCH(int, headers);
        QFETCH(QList<int>, reasons);
        const ReadResults read = ReadResultLines(text.toStdString());
        QCOMPARE(static_cast<int>(read.experiments.size()) - read.Repeats(), counted);
        QCOMPARE(read.Repeats(), repeats);
        QCOMPARE(static_cast<int>(read.headers.size()), headers);
        QList<int> refused;
        for (const RejectedLine& line : read.rejected) {
            refused.append(static_cast<int>(line.reason));
        }
        QCOMPARE(refused, reasons);
    }

    // A class's file as Excel on Japanese Windows, Notepad or a Mac saves it: read, its
    // encoding named.
    void filesAreReadInTheirEncoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        const QString line = "横線30本\t1\t2\t3\t4\t20\t6\t7\t8\t9\t10\t途中で終了\r\n";
        QByteArray little("\xFF\xFE", 2);
        QByteArray big("\xFE\xFF", 2);
        for (QChar c : line) {
            little.append(static_cast<char>(c.unicode() & 0xFF))
                .append(static_cast<char>(c.unicode() >> 8));
            big.append(static_cast<char>(c.unicode() >> 8))
                .append(static_cast<char>(c.unicode() & 0xFF));
        }
        QTest::newRow("UTF-8") << line.toUtf8() << "UTF-8";
        QTest::newRow("UTF-8 with a BOM") << "\xEF\xBB\xBF" + line.toUtf8() << "UTF-8 (BOM)";
        QTest::newRow("UTF-16LE") << little << "UTF-16LE";
        QTest::newRow("UTF-16BE") << big << "UTF-16BE";
        QTest::newRow("UTF-16LE without a BOM") << little.mid(2) << "UTF-16LE";
        QTest::newRow("UTF-16BE without a BOM") << big.mid(2) << "UTF-16BE";
        QTest::newRow("Shift_JIS, a group with digits")
            << QByteArray(
                   "\x82R\x94N\x82Q\x91g,\x89\xA1\x90\xFC"
                   "50\x96{\x81@3 5 20 7 4 2 1 0 0 0"
                   "\x81@3\x96{\x96\xDA\x82\xAA\x96\x9E\x94t\x82\xC5\x8FI\x97\xB9\r\n")
            << "Shift_JIS";
    }
    void filesAreReadInTheirEncoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        ClassSheet sheet;
        sheet.AddFile("class.csv",
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        sheet.Pool();
        QCOMPARE(sheet.Experiments(), 1);
        QCOMPARE(sheet.RejectedCount(), 0);
        QVERIFY2(QString::fromStdString(sheet.Summary())
                     .startsWith("読んだファイル：class.csv（" + encoding + "）。"),
                 sheet.Summary().c_str());
    }

    // A big paste with bad lines here and there loses no good one, and a results file cut
    // short by a failed write keeps every line before the cut.
    void manyLinesLoseNoGoodOne() {
        std::string text;
        int good = 0;
        for (int i = 1; i <= 10000; ++i) {
            if (i % 270 == 0) {
                text += "50 3 5 25 7 4 2 1 0 0 0\n";  // 37 bad lines
            } else {
                ExperimentResult result{10 + i % 41, {}, 1 + i % 10};
                result.counts[static_cast<std::size_t>(i % 10)] = 20;
                result.counts[static_cast<std::size_t>((i + 3) % 10)] =
                    static_cast<std::uint64_t>(i % 21);
                text += ResultLine(result) + "\n";
                ++good;
            }
        }
        const ReadResults read = ReadResultLines(text);
        QCOMPARE(read.rejected.size(), std::size_t{37});
        QCOMPARE(static_cast<int>(read.experiments.size()), good);
        const std::string cut = text.substr(0, text.size() - 17);
        QCOMPARE(static_cast<int>(ReadResultLines(cut).experiments.size()), good - 1);
    }

    // Reading takes time in step with the text, never with its square: 40,000 lines alike, and
    // one line that holds 20,000 results (about 0.1 s each; 12 s and 6 s when it was square).
    void aLargeTextIsReadInOnePass_data() {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<int>("results");
        QTest::newRow("40,000 lines alike") << "\n" << 40000;
        QTest::newRow("20,000 results on one line") << "　" << 20000;
    }
    void aLargeTextIsReadInOnePass() {
        QFETCH(QString, separator);
        QFETCH(int, results);
        std::string text;
        for (int i = 0; i < results; ++i) {
            text += "横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了" + separator.toStdString();
        }
        QElapsedTimer timer;
        timer.start();
        const ReadResults read = ReadResultLines(text);
        // Square time would take 12 s and more here, and far more in a sanitized build.
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(static_cast<int>(read.experiments.size()), results);
    }
};

QTEST_APPLESS_MAIN(ExperimentResultTest)
#include "test_experiment_result.moc"
