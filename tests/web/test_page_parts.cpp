// The browser edition's scale and chimes.

#include <QTest>

#include "chime_player.h"
#include "chime_synthesis.h"
#include "recording_sound_output.h"
#include "wav_bytes.h"
#include "window_scale.h"

using namespace hashigoro;
using namespace hashigoro::web;
using namespace hashigoro::testing;

class PagePartsTest : public QObject {
    Q_OBJECT

  private slots:
    void theWindowFitsTheScreenWhole_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("scale");
        // The main window with its frame is 660 x 595; 8 pixels of margin around it.
        QTest::newRow("its own size") << 676.0 << 611.0 << 1.0;
        QTest::newRow("a projector, limited by its height") << 1920.0 << 1080.0 << 1064.0 / 595;
        QTest::newRow("a Chromebook") << 1366.0 << 768.0 << 752.0 / 595;
        QTest::newRow("an iPad upright, limited by its width") << 768.0 << 1024.0 << 752.0 / 660;
        // Below the scale at which a 25-pixel button is a finger's 24, the page scrolls.
        QTest::newRow("a tablet sideways") << 1080.0 << 810.0 << 794.0 / 595;
        QTest::newRow("a phone sideways") << 844.0 << 390.0 << 0.96;
        QTest::newRow("a postage stamp") << 100.0 << 100.0 << 0.96;
        QTest::newRow("a wall") << 8000.0 << 4000.0 << 3.0;
    }
    void theWindowFitsTheScreenWhole() {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, scale);
        QCOMPARE(FitScale(660, 595, width, height, 8, TouchScale(layout::kMainWindow)), scale);
    }

    void aPixelIsWholeDevicePixelsAndNeverNone_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("devicePixels");
        QTest::newRow("scale 1") << 1.0 << 1.0 << 637;
        QTest::newRow("a retina screen") << 1.0 << 2.0 << 1274;
        QTest::newRow("between pixels") << 1.2638 << 1.0 << 805;
        QTest::newRow("a phone") << 0.578 << 3.0 << 1104;
    }
    void aPixelIsWholeDevicePixelsAndNeverNone() {
        QFETCH(double, scale);
        QFETCH(double, ratio);
        QFETCH(int, devicePixels);
        QCOMPARE(DevicePixels(637, scale, ratio), devicePixels);
        QCOMPARE(DevicePixels(1, 0.25, 1), 1);
    }

    // A cue stops the chime still sounding and plays its own; a file that is no sound only
    // silences its cue; without a file, our own chime plays, and a name not ours is silent.
    void aCuePlaysItsChimeOrNothing() {
        RecordingSoundOutput output;
        ChimePlayer chimes(output);
        const std::vector<std::uint8_t> wav = Wav(WavFormat{}, std::vector<std::uint8_t>(1600, 7));
        chimes.Arrived("pinpon.wav", wav);
        chimes.Arrived("endpinpon.wav", std::vector<std::uint8_t>{'R', 'I', 'F', 'F'});
        chimes.PlayCue("pinpon.wav");
        QCOMPARE(output.log, (std::vector<std::string>{"Stop", "Play"}));
        QCOMPARE(output.played.front().Frames(), std::size_t{800});
        chimes.PlayCue("endpinpon.wav");
        chimes.PlayCue("missing.wav");
        QCOMPARE(output.log, (std::vector<std::string>{"Stop", "Play", "Stop", "Stop"}));
        ChimePlayer own(output);
        own.PlayCue("endpinpon.wav");
        QCOMPARE(output.played.back().samples, SynthesizedChime("endpinpon.wav"));
        QCOMPARE(output.played.back().sampleRate, kChimeRate);
        // 1.6 s with three falling tones: loud at its start, silent at its end.
        QCOMPARE(output.played.back().Frames(), std::size_t{70560});
    }
};

QTEST_APPLESS_MAIN(PagePartsTest)
#include "test_page_parts.moc"
