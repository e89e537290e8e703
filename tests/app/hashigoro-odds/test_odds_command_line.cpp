#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <utility>

#include "class_sheet.h"
#include "odds_command_line.h"

using namespace hashigoro;
using Mode = OddsCommand::Mode;

Q_DECLARE_METATYPE(Mode)

class OddsCommandLineTest : public QObject {
    Q_OBJECT

  private slots:
    void eachCommandLineIsReadOrRefusedByName_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("rungs");
        QTest::addColumn<qulonglong>("trials");
        QTest::addColumn<QString>("error");
        const struct {
            const char* arguments;
            Mode mode;
            int start;
            int rungs;
            qulonglong trials;
            const char* error;
        } rows[] = {
            {"", Mode::Window, 4, 0, 0, ""},
            {"--csv", Mode::Csv, 4, 0, 0, ""},
            {"--csv --start 11", Mode::Csv, 11, 0, 0, ""},
            {"--simulate 100000 --rungs 50", Mode::Simulate, 4, 50, 100000, ""},
            {"--rungs 10 --start 2 --simulate 1", Mode::Simulate, 2, 10, 1, ""},
            {"--help", Mode::Help, 4, 0, 0, ""},
            {"--csv --version", Mode::Version, 4, 0, 0, ""},
            {"--rungs 51", Mode::Error, 4, 0, 0, "--rungs 51 is out of range (10 to 50)"},
            {"--csv --start 1", Mode::Error, 4, 0, 0, "--start 1 is out of range (2 to 11)"},
            {"--simulate 0 --rungs 10", Mode::Error, 4, 0, 0,
             "--simulate 0 is out of range (1 to 100000000)"},
            {"--simulate 1e5 --rungs 10", Mode::Error, 4, 0, 0,
             "--simulate takes a whole number, not \"1e5\""},
            {"--csv --start", Mode::Error, 4, 0, 0, "--start needs a value"},
            {"--simulate 10", Mode::Error, 4, 0, 0, "--simulate needs --rungs"},
            {"--csv --rungs 20", Mode::Error, 4, 20, 0,
             "--rungs goes with --simulate, --power, --experiments or --band"},
            {"--start 5", Mode::Error, 5, 0, 0,
             "--start goes with --csv, --simulate, --power, --experiments or --band"},
            {"--power --rungs 225 --start 2", Mode::Power, 2, 225, 0, ""},
            {"--rungs 0 --power", Mode::Power, 4, 0, 0, ""},
            {"--power --rungs 226", Mode::Error, 4, 0, 0, "--rungs 226 is out of range (0 to 225)"},
            {"--power", Mode::Error, 4, 0, 0, "--power needs --rungs"},
            {"--experiments 2000 --rungs 50", Mode::Experiments, 4, 50, 0, ""},
            {"--experiments 10 --rungs 60", Mode::Error, 4, 0, 0,
             "--rungs 60 is out of range (10 to 50)"},
            {"--experiments 0 --rungs 10", Mode::Error, 4, 0, 0,
             "--experiments 0 is out of range (1 to 1000000)"},
            {"--power --experiments 5 --rungs 10", Mode::Error, 4, 10, 0,
             "--power and --experiments cannot be combined"},
            {"--csv --csv", Mode::Error, 4, 0, 0, "--csv is given twice"},
            {"--csv --simulate 5 --rungs 10", Mode::Error, 4, 10, 5,
             "--csv and --simulate cannot be combined"},
            {"-x", Mode::Error, 4, 0, 0, "unknown argument \"-x\" (see --help)"},
            {"--class results.txt", Mode::Class, 4, 0, 0, ""},
            {"--class", Mode::Error, 4, 0, 0, "--class needs a value"},
            {"--class - --start 5", Mode::Error, 5, 0, 0,
             "--start goes with --csv, --simulate, --power, --experiments or --band"},
            {"--class - --rungs 50", Mode::Error, 4, 50, 0,
             "--rungs goes with --simulate, --power, --experiments or --band"},
            // Lines 1 to 10, as the windows name them; --start keeps its columns.
            {"--csv --line 1", Mode::Csv, 2, 0, 0, ""},
            {"--power --rungs 50 --line 10", Mode::Power, 11, 50, 0, ""},
            {"--csv --line 0", Mode::Error, 4, 0, 0, "--line 0 is out of range (1 to 10)"},
            {"--csv --line 11", Mode::Error, 4, 0, 0, "--line 11 is out of range (1 to 10)"},
            {"--csv --line 3 --start 4", Mode::Error, 4, 0, 0,
             "--line and --start cannot be combined"},
            {"--class - --line 3", Mode::Error, 4, 0, 0,
             "--line goes with --csv, --simulate, --power, --experiments or --band"},
            // --band's --line is the line banded: the experiment starts at line 3.
            {"--band --rungs 30", Mode::Band, 4, 30, 0, ""},
            {"--band --rungs 50 --line 1", Mode::Band, 4, 50, 0, ""},
            {"--band", Mode::Error, 4, 0, 0, "--band needs --rungs"},
            {"--band --rungs 30 --start 5", Mode::Error, 4, 30, 0,
             "--start does not go with --band: the experiment starts at line 3"},
            {"--band --csv --rungs 30", Mode::Error, 4, 30, 0,
             "--csv and --band cannot be combined"},
            {"--class - --trend", Mode::Class, 4, 0, 0, ""},
            {"--csv --trend", Mode::Error, 4, 0, 0, "--trend goes with --class"},
            {"--class - --leave-out-alike", Mode::Class, 4, 0, 0, ""},
            {"--power --rungs 10 --leave-out-alike", Mode::Error, 4, 10, 0,
             "--leave-out-alike goes with --class"},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.arguments[0] ? row.arguments : "(none)")
                << QString(row.arguments).split(' ', Qt::SkipEmptyParts) << row.mode << row.start
                << row.rungs << row.trials << QString(row.error);
        }
    }
    void eachCommandLineIsReadOrRefusedByName() {
        QFETCH(QStringList, arguments);
        QFETCH(Mode, mode);
        std::vector<std::string> words;
        for (const QString& a : arguments) {
            words.push_back(a.toStdString());
        }
        const OddsCommand command = ParseOddsCommandLine(words);
        QCOMPARE(command.mode, mode);
        QFETCH(QString, error);
        QCOMPARE(QString::fromStdString(command.error), error);
        if (mode != Mode::Error) {
            QFETCH(int, start);
            QFETCH(int, rungs);
            QFETCH(qulonglong, trials);
            QCOMPARE(command.start, start);
            QCOMPARE(command.rungs, rungs);
            QCOMPARE(command.trials, trials);
            QCOMPARE(command.trend, arguments.contains("--trend"));
            if (mode == Mode::Band) {
                const auto line = arguments.indexOf("--line");
                QCOMPARE(command.bandLine, line < 0 ? 3 : arguments[line + 1].toInt());
            }
        }
    }

    // --band prints the numbers the windows draw: both bands of the line, row by row.
    void theBandsPrintedAreTheOnesDrawn() {
        ClassSheet sheet;
        sheet.AddText("30 3 5 20 7 4 2 1 0 0 0\n30 1 2 3 0 0 0 0 0 0 0\n");
        sheet.Pool();
        for (int line : {3, 8}) {
            const QStringList rows =
                QString::fromStdString(BandCsv(sheet.Groups().front().exact, line))
                    .split('\n', Qt::SkipEmptyParts);
            QCOMPARE(rows.front(), QString("trials,ended_low,ended_high,stopped_low,stopped_high"));
            for (const auto& [band, column] : {std::pair{sheet.BandOf(0, line), 1},
                                               std::pair{sheet.StoppedBandOf(0, line), 3}}) {
                QVERIFY(!band.trials.empty());
                std::size_t at = 0;
                for (const QString& row : rows.mid(1)) {
                    const QStringList cells = row.split(',');
                    QCOMPARE(cells.size(), 5);
                    if (cells[column].isEmpty()) {
                        continue;
                    }
                    QVERIFY2(at < band.trials.size(), qPrintable(row));
                    QCOMPARE(cells[0].toDouble(), band.trials[at]);
                    QVERIFY(std::abs(cells[column].toDouble() - band.low[at]) < 1e-4);
                    QVERIFY(std::abs(cells[column + 1].toDouble() - band.high[at]) < 1e-4);
                    ++at;
                }
                QCOMPARE(at, band.trials.size());
            }
        }
    }

    // Both judgements of the same counts, each on its own line ending in its p.
    void countsAreJudgedAgainstTheExactOddsAndAgainstFair() {
        ArrivalOdds odds{};
        odds.fill(0.05);
        odds[2] = 0.55;
        ArrivalCounts counts{};
        counts.fill(1);
        counts[2] = 11;  // 20 trials, as the odds would have them
        const QStringList lines =
            QString::fromStdString(JudgementLines(counts, odds)).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QRegularExpression ends(" p = [0-9.e+-]+$");
        QVERIFY2(lines[0].startsWith("exact odds: chi-square ") && lines[0].contains(ends),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith("fairness: chi-square ") && lines[1].contains(ends) &&
                     lines[1].contains("with 9 degrees of freedom (exact tail)"),
                 qPrintable(lines[1]));
        // Fine against its own odds, far from fair.
        QVERIFY(lines[0].section("p = ", 1).toDouble() > 0.05);
        QVERIFY(lines[1].section("p = ", 1).toDouble() < 0.001);
    }
};

QTEST_APPLESS_MAIN(OddsCommandLineTest)
#include "test_odds_command_line.moc"
