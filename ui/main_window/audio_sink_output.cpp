#include "audio_sink_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>

namespace hashigoro {

namespace {

constexpr int kTrailingSilenceMs = 250;

QAudioFormat Int16Format(int sampleRate, int channels) {
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

}  // namespace

AudioSinkOutput::AudioSinkOutput(QObject* parent) : QObject(parent) {}

AudioSinkOutput::~AudioSinkOutput() { Stop(); }

void AudioSinkOutput::Stop() {
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    buffer_.close();
}

void AudioSinkOutput::Play(const PcmSound& sound) {
    Stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || sound.samples.empty()) {
        return;
    }
    QAudioFormat format = Int16Format(sound.sampleRate, sound.channels);
    PcmSound playable = sound;
    if (!device.isFormatSupported(format)) {
        const QAudioFormat preferred = device.preferredFormat();
        const int channels = preferred.channelCount() >= 2 ? 2 : 1;
        format = Int16Format(preferred.sampleRate(), channels);
        if (!device.isFormatSupported(format)) {
            return;
        }
        playable = ConvertPcm(sound, format.sampleRate(), channels);
    }
    PadWithSilence(playable, kTrailingSilenceMs);

    data_ = QByteArray(reinterpret_cast<const char*>(playable.samples.data()),
                       static_cast<qsizetype>(playable.samples.size() * sizeof(std::int16_t)));
    buffer_.setData(data_);
    buffer_.open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->start(&buffer_);
}

}  // namespace hashigoro
