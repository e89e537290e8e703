#include "pulse_audio_output.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cstring>

namespace hashigoro {

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
// How long the stream runs on after a chime, for the output's own latency.
constexpr int kRunOutMs = 500;
// The stream's buffer: a chime starts this promptly, and a stop silences it this promptly.
constexpr int kBufferMs = 100;
// How often to look for a server while there is none.
constexpr int kRetryMs = 1000;

// Holds the main loop's lock for one scope.
class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

}  // namespace

PulseAudioOutput::PulseAudioOutput(QObject* parent)
    : QObject(parent), loop_(pa_threaded_mainloop_new()) {
    end_.setSingleShot(true);
    connect(&end_, &QTimer::timeout, this, [this] {
        LoopLock lock(loop_);
        SetPlaying(false);
    });
    // Without a server, look for one again now and then: a connection made before the next
    // chime plays it whole, where one made for it could clip its start.
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] {
        LoopLock lock(loop_);
        if (!context_) {
            Connect();
        } else if (!stream_ && pa_context_get_state(context_) == PA_CONTEXT_READY) {
            StartStream();
        }
    });
    pa_threaded_mainloop_start(loop_);
    LoopLock lock(loop_);
    Connect();
}

PulseAudioOutput::~PulseAudioOutput() {
    retry_.stop();
    {
        LoopLock lock(loop_);
        DropStream();
        DropContext();
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

void PulseAudioOutput::Stop() {
    end_.stop();
    LoopLock lock(loop_);
    chime_.clear();
    fed_ = 0;
    SetPlaying(false);
}

void PulseAudioOutput::Play(const PcmSound& sound) {
    if (sound.samples.empty()) {
        return;
    }
    const PcmSound playable = ConvertPcm(sound, kRate, kChannels);
    {
        LoopLock lock(loop_);
        chime_ = playable.samples;
        fed_ = 0;
        playing_ = true;  // a stream made now starts running
        if (!context_) {
            Connect();  // the stream follows once the server answers
        } else if (!stream_ && pa_context_get_state(context_) == PA_CONTEXT_READY) {
            StartStream();  // the last one failed while the server stayed
        }
        SetPlaying(true);
    }
    const auto soundMs = static_cast<int>(playable.Frames() * 1000 / kRate);
    end_.start(soundMs + kRunOutMs);
}

void PulseAudioOutput::Connect() {
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "はしごろう");
    if (!context_) {
        return;
    }
    pa_context_set_state_callback(context_, &PulseAudioOutput::OnContextState, this);
    // No autospawn: a missing server must stay missing, not be started behind the user's back.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        DropContext();
        ScheduleRetry();
    }
}

void PulseAudioOutput::ScheduleRetry() {
    // The timer belongs to the user-interface thread; the main loop's thread only asks.
    QMetaObject::invokeMethod(this, [this] { retry_.start(); });
}

void PulseAudioOutput::DropContext() {
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
}

void PulseAudioOutput::SetPlaying(bool playing) {
    playing_ = playing;
    if (!stream_ || pa_stream_get_state(stream_) != PA_STREAM_READY) {
        return;  // a stream on its way is started once ready if `playing_` says so
    }
    if (playing) {
        // The chime starts at the read position, in place of the silence still buffered.
        Feed(pa_usec_to_bytes(kBufferMs * PA_USEC_PER_MSEC, pa_stream_get_sample_spec(stream_)),
             true);
    }
    pa_operation* cork = pa_stream_cork(stream_, playing ? 0 : 1, nullptr, nullptr);
    if (cork) {
        pa_operation_unref(cork);
    }
}

void PulseAudioOutput::StartStream() {
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, kRate, kChannels};
    stream_ = pa_stream_new(context_, "chime", &sampleFormat, nullptr);
    if (!stream_) {
        return;
    }
    pa_stream_set_state_callback(stream_, &PulseAudioOutput::OnStreamState, this);
    pa_stream_set_write_callback(stream_, &PulseAudioOutput::OnStreamWrite, this);
    pa_buffer_attr attr;
    std::memset(&attr, 0xFF, sizeof attr);  // (uint32_t) -1: the server's choice
    attr.tlength =
        static_cast<std::uint32_t>(pa_usec_to_bytes(kBufferMs * PA_USEC_PER_MSEC, &sampleFormat));
    // No device named: the stream plays on the default output, and moves with it. It starts
    // paused unless a chime waits for it.
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY |
                                                      (playing_ ? 0 : PA_STREAM_START_CORKED));
    if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0) {
        DropStream();
    }
}

void PulseAudioOutput::DropStream() {
    if (stream_) {
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
}

void PulseAudioOutput::Feed(std::size_t bytes, bool atReadPosition) {
    void* buffer = nullptr;
    if (pa_stream_begin_write(stream_, &buffer, &bytes) < 0 || !buffer) {
        return;
    }
    // The rest of the chime, then silence: a stream that runs dry would drop its last samples.
    const std::size_t left = chime_.size() - std::min(fed_, chime_.size());
    const std::size_t fromChime = std::min(bytes, left * sizeof(std::int16_t)) & ~std::size_t{1};
    if (fromChime > 0) {  // an empty chime has no data to copy from
        std::memcpy(buffer, chime_.data() + fed_, fromChime);
    }
    std::memset(static_cast<char*>(buffer) + fromChime, 0, bytes - fromChime);
    fed_ += fromChime / sizeof(std::int16_t);
    pa_stream_write(stream_, buffer, bytes, nullptr, 0,
                    atReadPosition ? PA_SEEK_RELATIVE_ON_READ : PA_SEEK_RELATIVE);
}

void PulseAudioOutput::OnContextState(pa_context* context, void* self) {
    auto* output = static_cast<PulseAudioOutput*>(self);
    switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            output->StartStream();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            // The server went away (or was never there): try again a little later.
            output->DropStream();
            output->DropContext();
            output->ScheduleRetry();
            break;
        default:
            break;
    }
}

void PulseAudioOutput::OnStreamWrite(pa_stream*, std::size_t bytes, void* self) {
    static_cast<PulseAudioOutput*>(self)->Feed(bytes, false);
}

void PulseAudioOutput::OnStreamState(pa_stream* stream, void* self) {
    auto* output = static_cast<PulseAudioOutput*>(self);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    const bool corked = state == PA_STREAM_READY && pa_stream_is_corked(stream) == 1;
    if (state == PA_STREAM_READY && output->playing_ == corked) {
        // A chime came, or was stopped, while the stream was on its way: a stream left running
        // after its chime would play silence for ever.
        output->SetPlaying(output->playing_);
    } else if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
        // Killed while the server stays (by a volume control, or with its output gone): a new
        // stream follows in a second, or at once for a chime that comes first.
        output->DropStream();
        output->ScheduleRetry();
    }
}

}  // namespace hashigoro
