#pragma once

#include <span>
#include <string_view>

#include "text_id.h"

namespace hashigoro {

// One text of a language.
struct TextEntry {
    TextId id;
    std::string_view text;  // UTF-8
};

// A language of はしごろう: one file under languages/ defines one, named after the file, with
// every text. Nothing else needs to know of it.
struct Language {
    std::string_view code;  // the page's ?lang= and <html lang>: "ja", "en", "ko", "zh-Hans", ...
    std::string_view name;  // in itself: "日本語", "English", ...
    int order = 0;          // its place in the language menu
    // The family the page draws it in: empty for the Japanese gothic, which also has the Latin
    // letters; otherwise a family of fonts-noto-cjk cut to this language's characters.
    std::string_view font;
    std::span<const TextEntry> entries;
    // Every wording of a result line's words (ResultRungs, ResultFull, ResultStopped) this
    // language has ever shipped, today's among them. Lines copied from an older version are
    // read with these, so a wording changed in `entries` is added here, never replaced.
    std::span<const TextEntry> released;
};

}  // namespace hashigoro
