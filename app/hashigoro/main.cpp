#include <QAccessible>
#include <QApplication>

#include "announcer.h"
#include "application_setup.h"
#include "help_surface_accessible.h"
#include "local_time_clock.h"
#include "main_window_accessible.h"
#include "mixing_random_source.h"
#include "pulse_audio_output.h"
#include "qt_program_end.h"
#include "results_file_log.h"
#include "window_switch.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    hashigoro::SetUpApplication(app, {"hashigoro", HASHIGORO_DESKTOP_FILE_NAME});
    QAccessible::installFactory(hashigoro::MainWindowAccessible);
    QAccessible::installFactory(hashigoro::AnnouncerAccessible);
    QAccessible::installFactory(hashigoro::HelpSurfaceAccessible);

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
