#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "experiment_result.h"
#include "results_file.h"

using namespace hashigoro;

// The desktop's file of finished experiments keeps every complete line, whatever happens.
class ResultsFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    std::string PathOf(const char* name) const {
        return (folder_.path() + "/" + name).toStdString();
    }

  private slots:
    void linesAreAppendedInFoldersMadeOnTheWay() {
        const ResultsFile file(PathOf("data/hashigoro/results.txt"));
        QVERIFY(file.Append("横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了"));
        QVERIFY(file.Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了"));
        const ReadResults read = ReadResultLines(file.Read());
        QCOMPARE(read.experiments.size(), std::size_t{2});
        QCOMPARE(read.rejected.size(), std::size_t{0});
    }

    // An earlier write cut short mid-line: the complete lines stay, and the next one stands
    // on a line of its own.
    void aLineCutShortDamagesNothing() {
        const std::string path = PathOf("cut.txt");
        std::ofstream(path) << "横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了\n横線30本　1 2";
        const ResultsFile file(path);
        QVERIFY(file.Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了"));
        const ReadResults read = ReadResultLines(file.Read());
        QCOMPARE(read.experiments.size(), std::size_t{2});
        QCOMPARE(read.rejected.size(), std::size_t{1});
        QCOMPARE(read.rejected[0].line, 2);
    }

    void aWriteThatCannotBeDoneChangesNothing() {
        const std::string readOnly = PathOf("locked");
        QVERIFY(::mkdir(readOnly.c_str(), 0500) == 0);
        const ResultsFile file(readOnly + "/results.txt");
        if (::geteuid() != 0) {  // root may write anywhere
            QVERIFY(!file.Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了"));
            QCOMPARE(file.Read(), std::string());
        }
        QVERIFY(!ResultsFile(readOnly).Append("a folder is no file"));
    }

    // Two programs writing at once never interleave a line.
    void twoWritersTakeTurns() {
        const std::string path = PathOf("shared.txt");
        constexpr int kLines = 400;
        pid_t children[2];
        for (int writer = 0; writer < 2; ++writer) {
            children[writer] = ::fork();
            if (children[writer] == 0) {
                const ResultsFile file(path);
                ExperimentResult result{10 + 30 * writer, {}, 0};
                bool ok = true;
                for (int i = 0; i < kLines; ++i) {
                    result.counts[static_cast<std::size_t>(i % 10)] =
                        static_cast<std::uint64_t>(i % 21);
                    ok = file.Append(ResultLine(result)) && ok;
                }
                ::_exit(ok ? 0 : 1);
            }
        }
        for (pid_t child : children) {
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const ReadResults read = ReadResultLines(ResultsFile(path).Read());
        QCOMPARE(read.rejected.size(), std::size_t{0});
        QCOMPARE(static_cast<int>(read.experiments.size()), 2 * kLines);
    }
};

QTEST_GUILESS_MAIN(ResultsFileTest)
#include "test_results_file.moc"
