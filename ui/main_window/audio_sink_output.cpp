#include "audio_sink_output.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace hashigoro {

// Reads out the current chime's bytes, then silence for as long as anyone reads.
class ChimeStream final : public QIODevice {
  public:
    ChimeStream() { open(QIODevice::ReadOnly); }

    // Replaces what is read next; empty for silence.
    void SetSound(QByteArray bytes) {
        bytes_ = std::move(bytes);
        position_ = 0;
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return (1 << 20) + QIODevice::bytesAvailable(); }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 fromSound = std::clamp<qint64>(bytes_.size() - position_, 0, maxSize);
        std::memcpy(data, bytes_.constData() + position_, static_cast<std::size_t>(fromSound));
        position_ += fromSound;
        std::memset(data + fromSound, 0, static_cast<std::size_t>(maxSize - fromSound));
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray bytes_;
    qint64 position_ = 0;
};

namespace {

// How long the sink runs on after a chime, for the output's own latency.
constexpr int kRunOutMs = 500;

}  // namespace

AudioSinkOutput::AudioSinkOutput(QObject* parent) : QObject(parent) {
    end_.setSingleShot(true);
    connect(&end_, &QTimer::timeout, this, [this] {
        if (sink_) {
            sink_->suspend();
        }
    });
    // A new sink takes a moment before it plays in time; made now, at start-up, it is ready
    // long before the first chime. It plays silence until then.
    if (EnsureSink()) {
        end_.start(kRunOutMs);
    }
}

AudioSinkOutput::~AudioSinkOutput() {
    if (sink_) {
        sink_->stop();
    }
}

bool AudioSinkOutput::EnsureSink() {
    if (sink_) {
        return true;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return false;
    }
    const QAudioFormat preferred = device.preferredFormat();
    format_.setSampleRate(preferred.sampleRate() > 0 ? preferred.sampleRate() : 44100);
    format_.setChannelCount(preferred.channelCount() >= 2 ? 2 : 1);
    format_.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format_)) {
        return false;
    }
    stream_ = std::make_unique<ChimeStream>();
    sink_ = std::make_unique<QAudioSink>(device, format_);
    sink_->start(stream_.get());
    return true;
}

void AudioSinkOutput::Stop() {
    end_.stop();
    if (sink_) {
        stream_->SetSound({});
        sink_->suspend();
    }
}

void AudioSinkOutput::Play(const PcmSound& sound) {
    if (sound.samples.empty() || !EnsureSink()) {
        return;
    }
    const PcmSound playable = ConvertPcm(sound, format_.sampleRate(), format_.channelCount());
    stream_->SetSound(
        QByteArray(reinterpret_cast<const char*>(playable.samples.data()),
                   static_cast<qsizetype>(playable.samples.size() * sizeof(std::int16_t))));
    if (sink_->state() == QAudio::SuspendedState) {
        sink_->resume();
    }
    const auto soundMs = static_cast<int>(playable.Frames() * 1000 / playable.sampleRate);
    end_.start(soundMs + kRunOutMs);
}

}  // namespace hashigoro
