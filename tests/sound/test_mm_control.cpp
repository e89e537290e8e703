#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

#include "mm_control.h"
#include "pulse_audio_output.h"
#include "recording_sound_output.h"
#include "wav_bytes.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

using Log = std::vector<std::string>;

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A folder holding one good chime and every kind of bad one, made the current directory, since
// the cues look their files up by bare name.
class ChimeFolder {
  public:
    ChimeFolder() : previous_(QDir::currentPath()) {
        const std::vector<std::uint8_t> samples(2 * 4410, 0x10);
        WriteFile(dir_.filePath("pinpon.wav"), Wav({1, 1, 44100, 16}, samples));
        WriteFile(dir_.filePath("endpinpon.wav"), Wav({1, 2, 22050, 16}, samples));
        WriteFile(dir_.filePath("empty.wav"), {});
        const auto whole = Wav({1, 1, 44100, 16}, samples);
        WriteFile(dir_.filePath("truncated.wav"),
                  std::vector<std::uint8_t>(whole.begin(), whole.begin() + 1000));
        const std::string text = "これは音ではありません。\n";
        WriteFile(dir_.filePath("text.wav"), std::vector<std::uint8_t>(text.begin(), text.end()));
        QDir(dir_.path()).mkdir("folder.wav");
        QDir::setCurrent(dir_.path());
    }
    ~ChimeFolder() { QDir::setCurrent(previous_); }

  private:
    QTemporaryDir dir_;
    QString previous_;
};

}  // namespace

class MMControlTest : public QObject {
    Q_OBJECT

  private slots:
    void aCueStopsWhatPlaysThenPlaysItsFileOnce() {
        ChimeFolder folder;
        RecordingSoundOutput output;
        MMControl control(output, nullptr);
        control.PlayCue("pinpon.wav");
        QCOMPARE(output.log, (Log{"Stop", "Play"}));
        QCOMPARE(output.played[0].sampleRate, 44100);
        QCOMPARE(output.played[0].Frames(), std::size_t{4410});
        QCOMPARE(control.Command(), QString("Sound"));
        QCOMPARE(control.FileName(), QString("pinpon.wav"));
        QVERIFY(control.IsOpen());
    }

    void aCueWhileAnotherPlaysStopsItFirst() {
        ChimeFolder folder;
        RecordingSoundOutput output;
        MMControl control(output, nullptr);
        control.PlayCue("endpinpon.wav");
        control.PlayCue("endpinpon.wav");
        QCOMPARE(output.log, (Log{"Stop", "Play", "Stop", "Play"}));
        QCOMPARE(output.played[1].channels, 2);
    }

    void aBadFileStopsTheChimeAndStaysSilent_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("no file") << "missing.wav";
        QTest::newRow("a directory of that name") << "folder.wav";
        QTest::newRow("an empty file") << "empty.wav";
        QTest::newRow("a truncated file") << "truncated.wav";
        QTest::newRow("a text file named .wav") << "text.wav";
    }
    void aBadFileStopsTheChimeAndStaysSilent() {
        QFETCH(QString, file);
        ChimeFolder folder;
        RecordingSoundOutput output;
        MMControl control(output, nullptr);
        control.PlayCue("pinpon.wav");
        control.PlayCue(file);
        QCOMPARE(output.log, (Log{"Stop", "Play", "Stop"}));
        QVERIFY(!control.IsOpen());
    }

    void onlyAnOpenedFileSounds_data() {
        QTest::addColumn<QStringList>("assignments");
        QTest::addColumn<int>("plays");
        QTest::newRow("sound without open") << QStringList{"F:pinpon.wav", "C:Sound"} << 0;
        QTest::newRow("open then sound") << QStringList{"F:pinpon.wav", "C:Open", "C:Sound"} << 1;
        QTest::newRow("close after open")
            << QStringList{"F:pinpon.wav", "C:Open", "C:Close", "C:Sound"} << 0;
        QTest::newRow("open before the file name")
            << QStringList{"C:Open", "F:pinpon.wav", "C:Sound"} << 0;
        QTest::newRow("sound twice plays twice")
            << QStringList{"F:pinpon.wav", "C:Open", "C:Sound", "C:Sound"} << 2;
        QTest::newRow("unknown commands are ignored")
            << QStringList{"F:pinpon.wav", "C:Open", "C:Eject", "C:Sound"} << 1;
    }
    void onlyAnOpenedFileSounds() {
        QFETCH(QStringList, assignments);
        QFETCH(int, plays);
        ChimeFolder folder;
        RecordingSoundOutput output;
        MMControl control(output, nullptr);
        for (const QString& a : assignments) {
            // Assigned by name, as the control is driven: through its properties.
            const char* property = a.startsWith("F:") ? "FileName" : "Command";
            QVERIFY(control.setProperty(property, a.mid(2)));
        }
        QCOMPARE(static_cast<int>(output.played.size()), plays);
    }

    void theRealOutputWithoutAnAudioServerReturnsAtOnce() {
        // Tests run without a sound server unless one is started for them.
        ChimeFolder folder;
        PulseAudioOutput output;
        MMControl control(output, nullptr);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 3; ++i) {
            control.PlayCue("pinpon.wav");
            control.PlayCue("missing.wav");
        }
        // A hang's bound: waiting for a server that is not there would never return.
        QVERIFY2(clock.elapsed() < 5000, QByteArray::number(clock.elapsed()).constData());
    }
};

QTEST_MAIN(MMControlTest)
#include "test_mm_control.moc"
