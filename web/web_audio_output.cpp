#include "web_audio_output.h"

#include <emscripten.h>

#include <vector>

namespace hashigoro::web {

using emscripten::val;

namespace {

// Browsers let sound start only from a person's gesture, and iPadOS stops it after a locked
// screen or a call: the page's one audio context is made, or woken, by every gesture and when
// the page is seen again, so that a chime finds it running. Asked for as playback, the chimes
// sound on an iPad whose silent switch is on, as a video would.
// clang-format off
EM_JS(void, KeepAudioAwake, (), {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) {
        return;
    }
    if (navigator.audioSession) {
        navigator.audioSession.type = 'playback';
    }
    const wake = () => {
        if (!Module.hashigoroAudio || Module.hashigoroAudio.state === 'closed') {
            Module.hashigoroAudio = new Context();
        }
        const context = Module.hashigoroAudio;
        if (context.state !== 'running') {
            // An interrupted context that will not resume is replaced at the next gesture.
            context.resume().catch(() => context.close().catch(() => {}));
        }
    };
    Module.hashigoroWakeAudio = wake;
    for (const type of ['pointerup', 'keydown', 'touchend']) {
        document.addEventListener(type, wake, true);
    }
    document.addEventListener('visibilitychange', () => {
        if (!document.hidden && Module.hashigoroAudio) {
            Module.hashigoroAudio.resume().catch(() => {});
        }
    });
});

EM_JS(emscripten::EM_VAL, AwakeAudio, (), {
    if (Module.hashigoroWakeAudio) {
        Module.hashigoroWakeAudio();
    }
    return Emval.toHandle(Module.hashigoroAudio || null);
});
// clang-format on

}  // namespace

WebAudioOutput::WebAudioOutput() : source_(val::null()) {
    KeepAudioAwake();
}

void WebAudioOutput::Stop() {
    if (!source_.isNull()) {
        source_.call<void>("stop");
        source_.call<void>("disconnect");
        source_ = val::null();
    }
}

void WebAudioOutput::Play(const PcmSound& sound) {
    Stop();
    if (sound.samples.empty()) {
        return;
    }
    const val context = val::take_ownership(AwakeAudio());
    if (context.isNull()) {
        return;
    }
    const auto frames = static_cast<int>(sound.Frames());
    val buffer = context.call<val>("createBuffer", sound.channels, frames, sound.sampleRate);
    std::vector<float> channel(static_cast<std::size_t>(frames));
    for (int c = 0; c < sound.channels; ++c) {
        for (int i = 0; i < frames; ++i) {
            channel[static_cast<std::size_t>(i)] =
                sound.samples[static_cast<std::size_t>(i * sound.channels + c)] / 32768.0f;
        }
        // A view of the samples in the module's memory, copied by the browser.
        buffer.call<void>("copyToChannel",
                          val(emscripten::typed_memory_view(channel.size(), channel.data())), c);
    }
    source_ = context.call<val>("createBufferSource");
    source_.set("buffer", buffer);
    source_.call<void>("connect", context["destination"]);
    source_.call<void>("start");
}

}  // namespace hashigoro::web
