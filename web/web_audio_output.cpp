#include "web_audio_output.h"

#include <vector>

namespace hashigoro::web {

using emscripten::val;

WebAudioOutput::WebAudioOutput() : context_(val::null()), source_(val::null()) {}

void WebAudioOutput::Stop() {
    if (!source_.isNull()) {
        source_.call<void>("stop");
        source_.call<void>("disconnect");
        source_ = val::null();
    }
}

void WebAudioOutput::Play(const PcmSound& sound) {
    Stop();
    const val audioContext = val::global("AudioContext");
    if (sound.samples.empty() || audioContext.isUndefined()) {
        return;
    }
    if (context_.isNull()) {
        context_ = audioContext.new_();
    }
    context_.call<val>("resume");
    const auto frames = static_cast<int>(sound.Frames());
    val buffer = context_.call<val>("createBuffer", sound.channels, frames, sound.sampleRate);
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
    source_ = context_.call<val>("createBufferSource");
    source_.set("buffer", buffer);
    source_.call<void>("connect", context_["destination"]);
    source_.call<void>("start");
}

}  // namespace hashigoro::web
