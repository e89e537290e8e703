#include <QApplication>

#include "application_setup.h"
#include "local_time_clock.h"
#include "mixing_random_source.h"
#include "pulse_audio_output.h"
#include "qt_program_end.h"
#include "results_file_log.h"
#include "window_switch.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    hashigoro::SetUpApplication(app, {"hashigoro", HASHIGORO_DESKTOP_FILE_NAME});

    hashigoro::MixingRandomSource random = hashigoro::MixingRandomSource::FromEntropy();
    hashigoro::LocalTimeClock clock;
    hashigoro::PulseAudioOutput sound;
    hashigoro::QtProgramEnd programEnd;
    hashigoro::ResultsFileLog results(
        hashigoro::ResultsFile(hashigoro::ResultsFile::DefaultPath()));
    hashigoro::WindowSwitch windows(random, clock, sound, programEnd, nullptr, &results);
    windows.ShowMainWindow();
    const int status = QApplication::exec();
    // The windows go before the services they were handed.
    delete windows.MainWindow();
    delete windows.HelpWindow();
    return status;
}
