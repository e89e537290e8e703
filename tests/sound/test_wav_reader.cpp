#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <cstdint>
#include <fstream>
#include <string>

#include "wav_bytes.h"
#include "wav_reader.h"

using namespace hashigoro;
using namespace hashigoro::testing;

using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(Samples)

namespace {

Bytes FloatBytes(std::initializer_list<float> values) {
    Bytes out;
    for (float v : values) {
        std::uint8_t b[4];
        std::memcpy(b, &v, 4);
        out.insert(out.end(), b, b + 4);
    }
    return out;
}

Bytes DoubleBytes(std::initializer_list<double> values) {
    Bytes out;
    for (double v : values) {
        std::uint8_t b[8];
        std::memcpy(b, &v, 8);
        out.insert(out.end(), b, b + 8);
    }
    return out;
}

void WriteFile(const QString& path, const Bytes& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Bytes this process has read from files and pipes so far, as the kernel counts them; 0 where
// it cannot be told.
std::uint64_t BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

const Bytes kTwoFrames16 = {0x00, 0x40, 0x00, 0xC0};

}  // namespace

class WavReaderTest : public QObject {
    Q_OBJECT

  private slots:
    void everyCommonFormatReadsAsSixteenBitSamples_data() {
        QTest::addColumn<Bytes>("file");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<Samples>("samples");
        QTest::newRow("8-bit unsigned")
            << Wav({1, 1, 8000, 8}, {128, 255, 0}) << 8000 << 1 << Samples{0, 32512, -32768};
        QTest::newRow("16-bit") << Wav({1, 1, 44100, 16}, kTwoFrames16) << 44100 << 1
                                << Samples{16384, -16384};
        QTest::newRow("16-bit stereo at 22050")
            << Wav({1, 2, 22050, 16}, kTwoFrames16) << 22050 << 2 << Samples{16384, -16384};
        QTest::newRow("24-bit") << Wav({1, 1, 48000, 24}, {0x00, 0x00, 0x40, 0xFF, 0xFF, 0xBF})
                                << 48000 << 1 << Samples{16384, -16385};
        QTest::newRow("32-bit integer")
            << Wav({1, 1, 96000, 32}, {0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0xC0}) << 96000
            << 1 << Samples{16384, -16384};
        QTest::newRow("32-bit float, as sox writes by default")
            << Wav({3, 1, 44100, 32}, FloatBytes({0.5f, -1.0f, 2.0f})) << 44100 << 1
            << Samples{16384, -32767, 32767};
        QTest::newRow("64-bit float") << Wav({3, 1, 44100, 64}, DoubleBytes({0.25, -0.25})) << 44100
                                      << 1 << Samples{8192, -8192};
        QTest::newRow("extensible 16-bit stereo")
            << Wav({1, 2, 44100, 16, true}, kTwoFrames16) << 44100 << 2 << Samples{16384, -16384};
        QTest::newRow("extensible float")
            << Wav({3, 1, 44100, 32, true}, FloatBytes({0.5f})) << 44100 << 1 << Samples{16384};

        Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};  // odd size, padded
        QTest::newRow("a padded chunk before the data")
            << Riff({FmtChunk({1, 1, 44100, 16}), list, DataChunk(kTwoFrames16, 4)}) << 44100 << 1
            << Samples{16384, -16384};
        QTest::newRow("a half frame at the end is dropped")
            << Wav({1, 2, 44100, 16}, {0x00, 0x40, 0x00, 0xC0, 0x01, 0x00}) << 44100 << 2
            << Samples{16384, -16384};
    }
    void everyCommonFormatReadsAsSixteenBitSamples() {
        QFETCH(Bytes, file);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(Samples, samples);
        const std::optional<PcmSound> sound = ReadWav(file);
        QVERIFY(sound.has_value());
        QCOMPARE(sound->sampleRate, rate);
        QCOMPARE(sound->channels, channels);
        QCOMPARE(sound->samples, samples);
    }

    void whatIsNoPlayableWavIsRefused_data() {
        QTest::addColumn<Bytes>("file");
        const Bytes whole = Wav({1, 1, 44100, 16}, kTwoFrames16);
        QTest::newRow("empty") << Bytes{};
        QTest::newRow("shorter than a header") << Bytes(whole.begin(), whole.begin() + 20);
        QTest::newRow("header without data") << Riff({FmtChunk({1, 1, 44100, 16})});
        QTest::newRow("data cut short")
            << Riff({FmtChunk({1, 1, 44100, 16}), DataChunk(kTwoFrames16, 4000)});
        QTest::newRow("empty data chunk") << Wav({1, 1, 44100, 16}, {});
        QTest::newRow("data before format") << Riff({DataChunk(kTwoFrames16, 4), FmtChunk({})});
        const std::string text = "RIFF is not what this text says; it is only words.\n";
        QTest::newRow("a text file named .wav") << Bytes(text.begin(), text.end());
        QTest::newRow("ADPCM") << Wav({2, 1, 44100, 4}, kTwoFrames16);
        QTest::newRow("12-bit") << Wav({1, 1, 44100, 12}, kTwoFrames16);
        QTest::newRow("three channels") << Wav({1, 3, 44100, 16}, Bytes(6, 0));
        QTest::newRow("4000 frames a second") << Wav({1, 1, 4000, 16}, kTwoFrames16);
        QTest::newRow("16-bit float") << Wav({3, 1, 44100, 16}, kTwoFrames16);
        QTest::newRow("extensible header cut short")
            << Riff({Bytes{'f',  'm', 't', ' ',  18,   0, 0, 0, 0xFE, 0xFF, 1, 0, 0x44,
                           0xAC, 0,   0,   0x88, 0x58, 1, 0, 2, 0,    16,   0, 0, 0},
                     DataChunk(kTwoFrames16, 4)});
        Bytes hugeChunk = {'J', 'U', 'N', 'K', 0xF0, 0xFF, 0xFF, 0xFF};
        QTest::newRow("a frame longer than 30 seconds") << Wav({1, 1, 8000, 8}, Bytes(240001, 128));
        QTest::newRow("a chunk that claims 4 GiB")
            << Riff({FmtChunk({1, 1, 44100, 16}), hugeChunk, DataChunk(kTwoFrames16, 4)});
    }
    void whatIsNoPlayableWavIsRefused() {
        QFETCH(Bytes, file);
        QVERIFY(!ReadWav(file).has_value());
    }

    void filesThatAreNoRegularWavAreRefusedAtOnce() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fifo = dir.filePath("pipe.wav");
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir("folder.wav"));
        // 7,000 s of 8-bit sound at 8 kHz, 56 MB without a block on the disk: refused from
        // its header, before any sample is read.
        const QString sparse = dir.filePath("huge.wav");
        WriteFile(sparse, Riff({FmtChunk({1, 1, 8000, 8}), DataChunk({}, 56'000'000)}));
        QCOMPARE(truncate(sparse.toLocal8Bit().constData(), 56'000'044), 0);
        const QString good = dir.filePath("good.wav");
        WriteFile(good, Wav({1, 1, 8000, 8}, Bytes(240000, 128)));  // 30 s exactly

        // Opening the pipe would never return: the bound catches that hang, 10,000 times what
        // refusing all four takes.
        QElapsedTimer clock;
        clock.start();
        const std::uint64_t before = BytesReadSoFar();
        QVERIFY(before > 0);
        for (const QString& name :
             {dir.filePath("missing.wav"), fifo, dir.filePath("folder.wav"), sparse}) {
            QVERIFY2(!LoadWavFile(name.toStdString()).has_value(), qPrintable(name));
        }
        const std::uint64_t read = BytesReadSoFar() - before;
        QVERIFY2(clock.elapsed() < 10000, QByteArray::number(clock.elapsed()).constData());
        // The headers only: the 56 MB of samples are never read.
        QVERIFY2(read < 64 * 1024, QByteArray::number(static_cast<qulonglong>(read)).constData());
        QCOMPARE(LoadWavFile(good.toStdString())->samples.size(), std::size_t{240000});
    }

    void conversionKeepsTheSoundAtAnotherRateOrChannelCount() {
        const PcmSound mono{8000, 1, {0, 100, 200, 300}};
        QCOMPARE(ConvertPcm(mono, 8000, 2).samples, (Samples{0, 0, 100, 100, 200, 200, 300, 300}));
        QCOMPARE(ConvertPcm(mono, 16000, 1).samples, (Samples{0, 50, 100, 150, 200, 250, 300}));
        QCOMPARE(ConvertPcm(mono, 4000, 1).samples, (Samples{0, 200}));
        const PcmSound stereo{8000, 2, {100, 300, -100, -300}};
        QCOMPARE(ConvertPcm(stereo, 8000, 1).samples, (Samples{200, -200}));
        QCOMPARE(ConvertPcm(PcmSound{8000, 1, {}}, 44100, 2).samples, Samples{});
    }
};

QTEST_APPLESS_MAIN(WavReaderTest)
#include "test_wav_reader.moc"
