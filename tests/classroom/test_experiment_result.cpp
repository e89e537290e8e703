#include <QTest>

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
        QTest::newRow("a group's name before it") << "3班 50 3 5 20 7 4 2 1 0 0 0" << -1;
        QTest::newRow("a Windows line end") << "50 3 5 20 7 4 2 1 0 0 0\r" << 0;
    }
    void everyFormIsRead() {
        QFETCH(QString, line);
        QFETCH(int, fullLine);
        const ReadResults read = ReadResultLines(line.toStdString());
        if (fullLine < 0) {
            // "3班" is one more number: a name with digits is not read as one.
            QCOMPARE(read.rejected.size(), std::size_t{1});
            return;
        }
        QCOMPARE(read.rejected.size(), std::size_t{0});
        QCOMPARE(read.experiments.size(), std::size_t{1});
        ExperimentResult expected = Example();
        expected.fullLine = fullLine;
        QVERIFY(read.experiments[0].result == expected);
        QCOMPARE(read.experiments[0].line, 1);
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

    void blanksAndHeadersAreSkippedAndRepeatsFlagged() {
        const ReadResults read = ReadResultLines(
            "横線の本数,1本目,2本目,3本目,4本目,5本目,6本目,7本目,8本目,9本目,10本目\n"
            "\n"
            "rungs,col2,col3,col4,col5,col6,col7,col8,col9,col10,col11\n"
            "30 1 2 3 4 5 6 7 8 9 10\n"
            "   \n"
            "30,1,2,3,4,5,6,7,8,9,10");
        QCOMPARE(read.rejected.size(), std::size_t{0});
        QCOMPARE(read.experiments.size(), std::size_t{2});
        QCOMPARE(read.experiments[0].line, 4);
        QVERIFY(!read.experiments[0].repeated);
        QCOMPARE(read.experiments[1].line, 6);
        QVERIFY(read.experiments[1].repeated);
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
};

QTEST_APPLESS_MAIN(ExperimentResultTest)
#include "test_experiment_result.moc"
