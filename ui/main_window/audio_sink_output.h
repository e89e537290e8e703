#pragma once

#include <QAudioFormat>
#include <QMediaDevices>
#include <QTimer>
#include <memory>

#include "sound_output.h"

class QAudioSink;

namespace hashigoro {

class ChimeStream;

// Plays chimes on the default audio output through one QAudioSink, which pulls the samples on
// the user-interface thread's event loop, so nothing blocks. With no output device it stays
// silent.
//
// The sink is made once, when this output is made (or at the first chime if no device was
// there then), and kept: it is fed the current chime followed by
// silence, suspended once the chime has had time to play out and resumed for the next one.
// (A sink whose source runs dry goes idle and drops what it still had buffered, clipping the
// end of a chime, and a sink made anew for each chime may stall behind the one before.)
class AudioSinkOutput final : public QObject, public SoundOutput {
    Q_OBJECT

  public:
    explicit AudioSinkOutput(QObject* parent = nullptr);
    ~AudioSinkOutput() override;

    void Stop() override;
    void Play(const PcmSound& sound) override;

  private:
    bool EnsureSink();

    QMediaDevices devices_;
    QAudioFormat format_;
    std::unique_ptr<ChimeStream> stream_;
    std::unique_ptr<QAudioSink> sink_;
    QTimer end_;
};

}  // namespace hashigoro
