#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QMediaDevices>
#include <memory>

#include "sound_output.h"

class QAudioSink;

namespace hashigoro {

// Plays chimes on the default audio output through QAudioSink, pulling from a memory buffer on
// the user-interface thread's event loop, so nothing blocks. With no output device it stays
// silent. The sound is converted to a format the device takes and padded with silence, so it
// is heard whole.
class AudioSinkOutput final : public QObject, public SoundOutput {
    Q_OBJECT

public:
    explicit AudioSinkOutput(QObject* parent = nullptr);
    ~AudioSinkOutput() override;

    void Stop() override;
    void Play(const PcmSound& sound) override;

private:
    QMediaDevices devices_;
    std::unique_ptr<QAudioSink> sink_;
    QByteArray data_;
    QBuffer buffer_;
};

}  // namespace hashigoro
