// Plays a chime through a real PulseAudio server with a null sink, records the sink's monitor
// and measures with sox that the recording holds the whole chime.

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "mm_control.h"
#include "pulse_audio_output.h"

#include <sys/stat.h>
#include <csignal>

using namespace hashigoro;

namespace {

// Runs a command to its end and returns what it wrote to standard output.
QString Output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// True when a command runs to its end with status 0.
bool Succeeds(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Seconds of sound above -40 dB, as sox's silence effect finds them, every silence of 5 ms or
// more left out: a busy machine may hold a stream up for a moment, losing none of its sound.
double AudibleSeconds(const QString& file, const QString& scratch) {
    Output("sox", {file, scratch, "silence", "1", "0.005", "-40d", "-1", "0.005", "-40d"});
    return Output("soxi", {"-D", scratch}).toDouble();
}

}  // namespace

class SoundOnAudioServerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        for (const char* tool : {"pulseaudio", "parecord", "sox", "soxi"}) {
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), tool);
        }
        QVERIFY(home_.isValid());
        runtime_ = home_.filePath("runtime");
        QVERIFY(QDir().mkpath(runtime_));
        chmod(runtime_.toLocal8Bit().constData(), 0700);
        // A private server: as root and without D-Bus this is the way PulseAudio starts.
        qputenv("HOME", home_.path().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", runtime_.toLocal8Bit());
        qunsetenv("PULSE_SERVER");
        server_.setProcessChannelMode(QProcess::MergedChannels);
        StartServer();
        QDir::setCurrent(HASHIGORO_SOUNDS_DIR);
        // The program makes its output at start-up, well before the first cue.
        output_ = std::make_unique<PulseAudioOutput>();
        WaitForTheOutput();
    }

    void cleanupTestCase() {
        output_.reset();
        server_.terminate();
        server_.waitForFinished(5000);
    }

    void aCueSoundsWhole_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("pinpon") << "pinpon.wav";
        QTest::newRow("endpinpon") << "endpinpon.wav";
    }
    void aCueSoundsWhole() {
        QFETCH(QString, file);
        CueSoundsWhole(file);
    }

    // A cue that held up the handler until its chime ended would be heard whole here, before
    // the next one.
    void aCueStopsTheOneStillSounding() {
        const QString recording = home_.filePath("overlap.recorded.wav");
        StartRecording(recording);
        MMControl control(*output_, nullptr);
        QElapsedTimer between;
        control.PlayCue("endpinpon.wav");
        between.start();
        QTest::qWait(300);
        // As long as a busy machine really took between the two cues.
        const double first = static_cast<double>(between.elapsed()) / 1000;
        control.PlayCue("pinpon.wav");
        QTest::qWait(2600);
        StopRecording();
        const double pinpon = AudibleSeconds("pinpon.wav", home_.filePath("original.wav"));
        const double recorded = AudibleSeconds(recording, home_.filePath("trimmed.wav"));
        qInfo("%.3f s recorded for %.3f s of one chime and the whole of the next", recorded, first);
        QVERIFY2(std::abs(recorded - (first + pinpon)) < 0.15,
                 QByteArray::number(recorded).constData());
    }

    // From a bug: once the chime stream had been killed while the server stayed (as a volume
    // control may do, or the loss of its output), every later chime was silent.
    void aCueSoundsWholeAgainAfterItsStreamWasKilled() {
        KillChimeStream();
        // The output makes a new stream within a second or so.
        QTRY_VERIFY_WITH_TIMEOUT(!Output("pactl", {"list", "short", "sink-inputs"}).isEmpty(),
                                 30000);
        CueSoundsWhole("pinpon.wav");
    }

    // A stream made for a chime that is stopped before the stream is ready stays paused, rather
    // than playing silence for ever.
    void aStreamThatComesUpAfterItsChimeStoppedStaysPaused() {
        KillChimeStream();
        MMControl control(*output_, nullptr);
        control.PlayCue("pinpon.wav");
        output_->Stop();
        QTRY_VERIFY_WITH_TIMEOUT(!Output("pactl", {"list", "short", "sink-inputs"}).isEmpty(),
                                 30000);
        QTest::qWait(1000);
        const QString inputs = Output("pactl", {"list", "sink-inputs"});
        QVERIFY2(inputs.contains("Corked: yes"), qPrintable(inputs));
    }

    // From a bug: after the server had gone away and come back, every chime was silent.
    void aCueSoundsWholeAgainOnceTheServerIsBack() {
        server_.terminate();
        QVERIFY(server_.waitForFinished(5000));
        MMControl control(*output_, nullptr);
        QElapsedTimer clock;
        clock.start();
        control.PlayCue("pinpon.wav");
        // A hang's bound: a cue that waited for the server would never return, as the server
        // comes back only after it.
        QVERIFY2(clock.elapsed() < 5000, QByteArray::number(clock.elapsed()).constData());
        QTest::qWait(500);
        StartServer();
        WaitForTheOutput();  // it looks for the server again every second
        CueSoundsWhole("endpinpon.wav");
    }

  private:
    // Ends the output's stream from the server's side, as a volume control's kill does.
    void KillChimeStream() {
        QString index;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(index = Output("pactl", {"list", "short", "sink-inputs"}).section('\t', 0, 0))
                 .isEmpty(),
            30000);
        // pactl refuses the index 0 that the first stream gets.
        Output("pacmd", {"kill-sink-input", index});
        QTRY_VERIFY_WITH_TIMEOUT(Output("pactl", {"list", "short", "sink-inputs"}).isEmpty(),
                                 30000);
    }

    void StartServer() {
        server_.start("pulseaudio",
                      {"--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-n",
                       "--load=module-null-sink", "--load=module-native-protocol-unix",
                       "--load=module-cli-protocol-unix"});
        QVERIFY(server_.waitForStarted(10000));
        // Answering, not only its socket made.
        QTRY_VERIFY2_WITH_TIMEOUT(Succeeds("pactl", {"info"}),
                                  "the sound server never answered pactl", 30000);
    }
    // Until the program's output is connected and has made its stream, which it keeps; then a
    // moment more, as a program is started well before its first chime.
    void WaitForTheOutput() {
        QTRY_VERIFY2_WITH_TIMEOUT(!Output("pactl", {"list", "short", "sink-inputs"}).isEmpty(),
                                  "the output never made its stream on the sound server", 30000);
        QTest::qWait(1500);
    }

    void CueSoundsWhole(const QString& file) {
        const QString recording = home_.filePath(file + ".recorded.wav");
        StartRecording(recording);

        MMControl control(*output_, nullptr);
        control.PlayCue(file);
        QTest::qWait(2600);

        StopRecording();
        const double original = AudibleSeconds(file, home_.filePath("original.wav"));
        const double recorded = AudibleSeconds(recording, home_.filePath("trimmed.wav"));
        qInfo("%s: %.3f s audible in the file, %.3f s recorded", qPrintable(file), original,
              recorded);
        QVERIFY(original > 0.5);
        QVERIFY2(recorded > 0.95 * original && recorded < original + 0.3,
                 QByteArray::number(recorded).constData());
    }

    void StartRecording(const QString& file) {
        recorder_.start("parecord",
                        {"--latency-msec=20", "-d", "null.monitor", "--file-format=wav", file});
        QVERIFY(recorder_.waitForStarted(5000));
        // Recording once the server has its stream, and a moment more for the first samples.
        QTRY_VERIFY2_WITH_TIMEOUT(!Output("pactl", {"list", "short", "source-outputs"}).isEmpty(),
                                  "parecord never reached the sound server", 30000);
        QTest::qWait(500);
    }
    void StopRecording() {
        // parecord finishes its file on an interrupt.
        ::kill(static_cast<pid_t>(recorder_.processId()), SIGINT);
        QVERIFY(recorder_.waitForFinished(5000));
    }

    QTemporaryDir home_;
    QProcess recorder_;
    QString runtime_;
    QProcess server_;
    std::unique_ptr<PulseAudioOutput> output_;
};

QTEST_MAIN(SoundOnAudioServerTest)
#include "test_sound_on_audio_server.moc"
