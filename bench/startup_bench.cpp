#include "startup_bench.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "process_memory.h"

namespace hashigoro::bench {

namespace {

bool PromptShown() {
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--name", "^ はしごろう横線本数の設定$"});
    search.waitForFinished(5000);
    return !search.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

StartupResults MeasureStartup(const QString& executable, int runs) {
    StartupResults results;
    QTemporaryDir folder;
    for (const char* chime : {"pinpon.wav", "endpinpon.wav"}) {
        QFile::copy(QString(HASHIGORO_SOUNDS_DIR) + "/" + chime, folder.filePath(chime));
    }
    for (int run = 0; run < runs; ++run) {
        QProcess program;
        program.setWorkingDirectory(folder.path());
        program.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        program.start(executable, {});
        bool shown = false;
        while (!(shown = PromptShown()) && clock.elapsed() < 10000) {
        }
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (shown) {
            results.milliseconds.push_back(ms);
            results.residentMbAtPrompt = ResidentMb(program.processId());
        }
        program.kill();
        program.waitForFinished(5000);
    }
    return results;
}

}  // namespace hashigoro::bench
