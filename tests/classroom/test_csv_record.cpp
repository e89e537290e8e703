#include <QTest>

#include "csv_record.h"
#include "experiment_result.h"

using namespace hashigoro;

// Records of CSV files as RFC 4180 has them, and a class's lines saved by a spreadsheet.
class CsvRecordTest : public QObject {
    Q_OBJECT

  private slots:
    void recordsAreSplitAsTheRfcSays_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("fields");  // empty: no quoted record
        QTest::addColumn<int>("used");
        QTest::newRow("no quote") << QStringList{"aaa,bbb,ccc"} << QStringList{} << 0;
        QTest::newRow("every field quoted")
            << QStringList{"\"aaa\",\"bbb\",\"ccc\""} << QStringList{"aaa", "bbb", "ccc"} << 1;
        QTest::newRow("a line break inside quotes")
            << QStringList{"\"aaa\",\"b", "bb\",\"ccc\"", "zzz,yyy,xxx"}
            << QStringList{"aaa", "b bb", "ccc"} << 2;
        QTest::newRow("a doubled quote") << QStringList{"\"aaa\",\"b\"\"bb\",\"ccc\""}
                                         << QStringList{"aaa", "b\"bb", "ccc"} << 1;
        QTest::newRow("a comma inside quotes") << QStringList{"50,\"line 3 full, ended\""}
                                               << QStringList{"50", "line 3 full, ended"} << 1;
        QTest::newRow("tabs") << QStringList{"\"1班\"\t\"50\"\t\"3\""}
                              << QStringList{"1班", "50", "3"} << 1;
        QTest::newRow("an empty field")
            << QStringList{"\"a\",,\"c\""} << QStringList{"a", "", "c"} << 1;
        QTest::newRow("a quote never closed") << QStringList{"田中: \"50 3 5 20 7 4 2 1 0 0 0",
                                                             "a",
                                                             "b",
                                                             "c",
                                                             "d",
                                                             "e",
                                                             "f",
                                                             "g",
                                                             "h"}
                                              << QStringList{} << 0;
    }
    void recordsAreSplitAsTheRfcSays() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, fields);
        QFETCH(int, used);
        std::vector<std::string> kept;
        for (const QString& line : lines) {
            kept.push_back(line.toStdString());
        }
        const std::vector<std::string_view> views(kept.begin(), kept.end());
        const std::optional<CsvRecord> record = QuotedRecord(views, 0);
        QCOMPARE(record.has_value(), !fields.isEmpty());
        if (record) {
            QStringList got;
            for (const std::string& field : record->fields) {
                got.append(QString::fromStdString(field));
            }
            QCOMPARE(got, fields);
            QCOMPARE(static_cast<int>(record->lines), used);
        }
    }

    // A class's lines as spreadsheets save them are read, and counted from their first line.
    void aSpreadsheetsCsvIsRead_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");  // of the experiment
        QTest::newRow("every field quoted")
            << "\"1班\",\"50\",\"3\",\"5\",\"20\",\"7\",\"4\",\"2\",\"1\",\"0\",\"0\",\"0\"" << 1;
        QTest::newRow("English, the ending quoted for its comma")
            << "\"50 rungs\",3,5,20,7,4,2,1,0,0,0,\"line 3 full, ended\"" << 1;
        QTest::newRow("after a record on two lines")
            << "\"note\",\"a\nb\"\n\"横線50本\",3,5,20,7,4,2,1,0,0,0,\"3本目が満杯で終了\"" << 3;
    }
    void aSpreadsheetsCsvIsRead() {
        QFETCH(QString, text);
        QFETCH(int, line);
        const ReadResults read = ReadResultLines(text.toStdString());
        QCOMPARE(read.experiments.size(), std::size_t{1});
        QCOMPARE(read.experiments[0].line, line);
        QCOMPARE(read.experiments[0].result.counts[2], 20ULL);
        QVERIFY2(read.rejected.empty(), read.rejected.empty() ? "" : read.rejected[0].text.c_str());
    }
};

QTEST_APPLESS_MAIN(CsvRecordTest)
#include "test_csv_record.moc"
