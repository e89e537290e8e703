#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "sound_output.h"

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace hashigoro {

// Plays chimes on the sound server's current default output (PulseAudio, or PipeWire through
// its PulseAudio service). Every call returns at once: the connection and the playback run on
// a thread of their own, and without a server the chimes are simply not heard.
//
// The connection and one stream are made at start-up and kept, so a chime needs no wait. The
// stream names no output, so the server moves it to whichever output becomes the default. It
// is fed the chime and then silence, and paused (corked) once the chime has had time to play
// out: a stream that runs dry, or one made just for the chime, may lose its first or last
// samples. When the server goes away, or is not there at start-up, the output looks for it
// again every second, and the next chime connects at once if it is still missing: after the
// server comes back the next chime is heard. A stream that fails on its own (killed by a volume
// control, or its output gone) is made anew a second later, or by a chime that comes first.
class PulseAudioOutput final : public QObject, public SoundOutput {
    Q_OBJECT

  public:
    explicit PulseAudioOutput(QObject* parent = nullptr);
    ~PulseAudioOutput() override;

    void Stop() override;
    void Play(const PcmSound& sound) override;

  private:
    // All of these run with the main loop's lock held.
    void Connect();
    void DropContext();
    // Looks for a server again in a second, or makes a new stream if only the stream is gone.
    void ScheduleRetry();
    void StartStream();
    void DropStream();
    // Plays the stream from the chime's start, or pauses it.
    void SetPlaying(bool playing);
    // Writes `bytes` of the chime, then of silence: at the stream's read position when
    // `atReadPosition` (in place of what is buffered), else after what was written before.
    void Feed(std::size_t bytes, bool atReadPosition);

    static void OnContextState(pa_context* context, void* self);
    static void OnStreamWrite(pa_stream* stream, std::size_t bytes, void* self);
    static void OnStreamState(pa_stream* stream, void* self);

    pa_threaded_mainloop* loop_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    // The chime being played (44.1 kHz stereo) and how much of it the stream has taken.
    std::vector<std::int16_t> chime_;
    std::size_t fed_ = 0;
    // True from Play() until the chime has played out.
    bool playing_ = false;
    QTimer end_;
    QTimer retry_;
};

}  // namespace hashigoro
