#include "web_audio_output.h"

#include <emscripten.h>

#include <vector>

namespace hashigoro::web {

using emscripten::val;

namespace {

// Browsers let sound start only from a person's gesture: the page's one audio context is made
// by the first gesture, and made anew by the next gesture after the system has taken it away (a
// call, a locked iPad). Between chimes it sleeps, so that music or a video playing beside the
// page on an iPad is interrupted only while a chime sounds, never for good. Asked for as
// playback, the chimes sound on an iPad whose silent switch is on, as a video would.
// clang-format off
EM_JS(void, KeepAudioReady, (), {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) {
        return;
    }
    if (navigator.audioSession) {
        navigator.audioSession.type = 'playback';
    }
    let sleepTimer = 0;
    const sleepAfter = ms => {
        clearTimeout(sleepTimer);
        sleepTimer = setTimeout(() => {
            const context = Module.hashigoroAudio;
            if (context && context.state === 'running') {
                context.suspend().catch(() => {});
            }
        }, ms);
    };
    // The context, made if there is none that can still run, and awake for `ms` milliseconds.
    const ready = ms => {
        if (!Module.hashigoroAudio || Module.hashigoroAudio.state === 'closed') {
            Module.hashigoroAudio = new Context();
        }
        const context = Module.hashigoroAudio;
        if (context.state !== 'running') {
            // One that will not run again is replaced at the next gesture.
            context.resume().catch(() => context.close().catch(() => {}));
        }
        sleepAfter(ms);
        return context;
    };
    Module.hashigoroAudioReady = ready;
    const gesture = () => {
        const context = Module.hashigoroAudio;
        // Only a first gesture, or one after the system has interrupted it: a tap by itself
        // does not wake the sleeping context.
        if (!context || context.state === 'closed' || context.state === 'interrupted') {
            ready(1000);
        }
    };
    for (const type of ['pointerup', 'keydown', 'touchend']) {
        document.addEventListener(type, gesture, true);
    }
});

// The context, awake for `ms` milliseconds of sound, or null where the page has none.
EM_JS(emscripten::EM_VAL, AwakeAudio, (double ms), {
    return Emval.toHandle(Module.hashigoroAudioReady ? Module.hashigoroAudioReady(ms) : null);
});
// clang-format on

}  // namespace

WebAudioOutput::WebAudioOutput() : source_(val::null()) {
    KeepAudioReady();
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
    // Awake for the chime and a moment after it.
    const double ms = 1000.0 * static_cast<double>(sound.Frames()) / sound.sampleRate + 500;
    const val context = val::take_ownership(AwakeAudio(ms));
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
