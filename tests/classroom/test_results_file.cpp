#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "experiment_result.h"
#include "results_file.h"
#include "results_file_log.h"

using namespace hashigoro;

// The system's fstat and flock, failing on demand for the file's code in this program.
enum class Failing { None, Fstat, Flock };
Failing gFailing = Failing::None;
int gError = 0;

extern "C" int fstat(int fd, struct stat* status) {
    using Real = int (*)(int, struct stat*);
    static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "fstat"));
    if (gFailing == Failing::Fstat) {
        errno = gError;
        return -1;
    }
    return real(fd, status);
}

extern "C" int flock(int fd, int operation) {
    using Real = int (*)(int, int);
    static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "flock"));
    if (gFailing == Failing::Flock) {
        errno = gError;
        return -1;
    }
    return real(fd, operation);
}

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
        QCOMPARE(file.Append("横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了\n"), 0);
        QCOMPARE(file.Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了\n"), 0);
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
        QCOMPARE(file.Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了\n"), 0);
        const ReadResults read = ReadResultLines(file.Read());
        QCOMPARE(read.experiments.size(), std::size_t{2});
        QCOMPARE(read.rejected.size(), std::size_t{1});
        QCOMPARE(read.rejected[0].line, 2);
    }

    void aWriteThatCannotBeDoneChangesNothing() {
        const std::string readOnly = PathOf("locked");
        QVERIFY(::mkdir(readOnly.c_str(), 0500) == 0);
        // The folders made on the way are the user's alone.
        QCOMPARE(ResultsFile(PathOf("made/here/results.txt")).Append("x\n"), 0);
        struct stat made {};
        QVERIFY(::stat(PathOf("made/here").c_str(), &made) == 0);
        QCOMPARE(made.st_mode & 0777, 0700u);
        const ResultsFile file(readOnly + "/results.txt");
        if (::geteuid() != 0) {  // root may write anywhere
            QCOMPARE(file.Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了\n"), EACCES);
            QCOMPARE(file.Read(), std::string());
        }
        QVERIFY(ResultsFile(readOnly).Append("a folder is no file\n") != 0);
    }

    // A lock that cannot be had, or a size that cannot be measured, writes nothing and leaves
    // the file byte for byte.
    void aFailureBeforeTheWriteLeavesTheFileAsItWas_data() {
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("error");
        QTest::newRow("fstat fails") << static_cast<int>(Failing::Fstat) << EIO;
        QTest::newRow("another program holds the lock")
            << static_cast<int>(Failing::Flock) << EWOULDBLOCK;
        QTest::newRow("the lock fails") << static_cast<int>(Failing::Flock) << ENOLCK;
    }
    void aFailureBeforeTheWriteLeavesTheFileAsItWas() {
        QFETCH(int, failing);
        QFETCH(int, error);
        const std::string path = PathOf("kept.txt");
        const std::string before =
            "横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了\n横線30本　1 2";
        std::ofstream(path, std::ios::trunc) << before;
        gFailing = static_cast<Failing>(failing);
        gError = error;
        const int got = ResultsFile(path).Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了\n");
        gFailing = Failing::None;
        QCOMPARE(got, error);
        QCOMPARE(ResultsFile(path).Read(), before);
    }

    // A line that cannot be written waits, with why, where the class window finds it and a
    // logout keeps it, apart for each results file; it is tried again as soon as the program
    // starts next, and goes in once it can.
    void aLineThatCannotBeWrittenWaitsForTheNextStart() {
        qputenv("XDG_STATE_HOME", (folder_.path() + "/state").toUtf8());
        std::ofstream(PathOf("blocked")) << "";
        const ResultsFile file(PathOf("blocked/results.txt"));
        {
            ResultsFileLog log(file);
            log.Record({30, {1, 2, 3, 4, 20, 6, 7, 8, 9, 0}, 5, {5}});
        }
        QVERIFY2(
            file.ReadUnsaved().starts_with("横線30本　1 2 3 4 20 6 7 8 9 0　5本目が満杯で終了　#"),
            file.ReadUnsaved().c_str());
        QCOMPARE(file.UnsavedWhy(), ResultsFile::Why(ENOTDIR));
        QVERIFY(file.UnsavedPath().starts_with(PathOf("state/hashigoro/unsaved-")));
        struct stat status {};
        QCOMPARE(::stat(PathOf("state/hashigoro").c_str(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0700u);
        QCOMPARE(ResultsFile(PathOf("other/results.txt")).ReadUnsaved(), std::string());
        // The way is clear again: the next start writes the line with no experiment of its own.
        QCOMPARE(::unlink(PathOf("blocked").c_str()), 0);
        { ResultsFileLog log(file); }
        const ReadResults read = ReadResultLines(file.Read());
        QCOMPARE(read.experiments.size(), std::size_t{1});
        QCOMPARE(read.experiments[0].result.fullLine, 5);
        QCOMPARE(file.ReadUnsaved(), std::string());
    }

    // Nothing waits where another may plant a link or read it: no home, no folder of ours, a
    // folder open to others, or a link in the unsaved file's or the results file's place.
    void unsavedLinesWaitOnlyInTheUsersOwnFolder() {
        const ResultsFile file(PathOf("data/results.txt"));
        const QByteArray home = qgetenv("HOME");
        qunsetenv("XDG_STATE_HOME");
        qunsetenv("HOME");
        QCOMPARE(file.UnsavedPath(), std::string());
        QVERIFY(!file.KeepUnsaved("why", {"line"}));
        qputenv("HOME", home);
        qputenv("XDG_STATE_HOME", (folder_.path() + "/open").toUtf8());
        QVERIFY(::mkdir(PathOf("open").c_str(), 0700) == 0 || errno == EEXIST);
        QVERIFY(::mkdir(PathOf("open/hashigoro").c_str(), 0777) == 0 || errno == EEXIST);
        QCOMPARE(::chmod(PathOf("open/hashigoro").c_str(), 0777), 0);
        QVERIFY(!file.KeepUnsaved("why", {"line"}));
        QCOMPARE(::chmod(PathOf("open/hashigoro").c_str(), 0700), 0);
        std::ofstream(PathOf("victim.txt")) << "kept\n";
        QCOMPARE(::symlink(PathOf("victim.txt").c_str(), (file.UnsavedPath() + ".new").c_str()), 0);
        QVERIFY(!file.KeepUnsaved("why", {"line"}));
        QCOMPARE(::symlink(PathOf("victim.txt").c_str(), file.UnsavedPath().c_str()), 0);
        QCOMPARE(file.ReadUnsaved(), std::string());
        QVERIFY(::mkdir(PathOf("data").c_str(), 0700) == 0 || errno == EEXIST);
        QCOMPARE(::symlink(PathOf("victim.txt").c_str(), file.Path().c_str()), 0);
        QCOMPARE(file.Append("横線10本　1 0 0 0 0 0 0 0 0 0　途中で終了\n"), ELOOP);
        QCOMPARE(ResultsFile(PathOf("victim.txt")).Read(), std::string("kept\n"));
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
                ExperimentResult result{10 + 30 * writer, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 0};
                bool ok = true;
                for (int i = 0; i < kLines; ++i) {
                    result.counts[static_cast<std::size_t>(i % 10)] =
                        static_cast<std::uint64_t>(i % 21);
                    ok = file.Append(ResultLine(result) + "\n") == 0 && ok;
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
