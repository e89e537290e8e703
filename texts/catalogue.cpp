#include "catalogue.h"

#include <algorithm>
#include <array>
#include <set>
#include <vector>

namespace hashigoro {

// Each file under languages/ defines one language, named after the file; the build lists them.
#define HASHIGORO_LANGUAGE(name) extern const Language name;
#include "languages.inc"
#undef HASHIGORO_LANGUAGE

namespace texts {

namespace {

using Table = std::array<std::string_view, static_cast<std::size_t>(TextId::Count)>;

struct Catalogue {
    std::vector<const Language*> languages;
    std::vector<Table> tables;  // beside `languages`; a missing entry is the Japanese one
    const Language* current = nullptr;
};

Catalogue& TheCatalogue() {
    static Catalogue catalogue = [] {
        Catalogue made;
#define HASHIGORO_LANGUAGE(name) made.languages.push_back(&name);
#include "languages.inc"
#undef HASHIGORO_LANGUAGE
        std::sort(made.languages.begin(), made.languages.end(),
                  [](const Language* a, const Language* b) { return a->order < b->order; });
        for (const Language* language : made.languages) {
            Table& table = made.tables.emplace_back();
            for (const TextEntry& entry : language->entries) {
                table[static_cast<std::size_t>(entry.id)] = entry.text;
            }
        }
        for (Table& table : made.tables) {
            for (std::size_t id = 0; id < table.size(); ++id) {
                if (table[id].empty()) {
                    table[id] = made.tables.front()[id];
                }
            }
        }
        made.current = made.languages.front();
        return made;
    }();
    return catalogue;
}

bool SameCode(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

std::span<const Language* const> Languages() {
    return TheCatalogue().languages;
}

const Language* Find(std::string_view code) {
    for (const Language* language : Languages()) {
        if (SameCode(language->code, code)) {
            return language;
        }
    }
    return nullptr;
}

bool Use(std::string_view code) {
    const Language* language = Find(code);
    if (language) {
        TheCatalogue().current = language;
    }
    return language != nullptr;
}

const Language& Current() {
    return *TheCatalogue().current;
}

std::string_view Text(const Language& language, TextId id) {
    const Catalogue& catalogue = TheCatalogue();
    const auto at = std::find(catalogue.languages.begin(), catalogue.languages.end(), &language);
    const std::size_t index = at == catalogue.languages.end()
                                  ? 0
                                  : static_cast<std::size_t>(at - catalogue.languages.begin());
    return catalogue.tables[index][static_cast<std::size_t>(id)];
}

std::string_view Text(TextId id) {
    return Text(Current(), id);
}

TextId IdOf(std::string_view text) {
    for (int n = 1; n < static_cast<int>(TextId::Count); ++n) {
        if (!text.empty() && Text(static_cast<TextId>(n)) == text) {
            return static_cast<TextId>(n);
        }
    }
    return TextId::None;
}

std::string Format(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < values.size() && text[i + 2] == '}') {
                out += *(values.begin() + n);
                i += 2;
                continue;
            }
            // "{1?experiment|experiments}": the word for one when the value is 1, as English
            // counts (CLDR's "one"); the other for every other value.
            const std::size_t bar = text.find('|', i);
            const std::size_t end = text.find('}', i);
            if (n < values.size() && text[i + 2] == '?' && bar < end && end != text.npos) {
                out += *(values.begin() + n) == "1" ? text.substr(i + 3, bar - i - 3)
                                                    : text.substr(bar + 1, end - bar - 1);
                i = end;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string Format(TextId id, std::initializer_list<std::string_view> values) {
    return Format(Text(id), values);
}

std::string Spoken(std::string_view caption) {
    static constexpr std::string_view kIdeographicSpace = "\u3000";
    std::string spoken;
    for (std::size_t i = 0; i < caption.size();) {
        if (caption.substr(i, kIdeographicSpace.size()) == kIdeographicSpace) {
            i += kIdeographicSpace.size();
        } else {
            spoken += caption[i++];
        }
    }
    const std::size_t first = spoken.find_first_not_of(' ');
    const std::size_t last = spoken.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : spoken.substr(first, last - first + 1);
}

std::string Placeholders(std::string_view text) {
    std::set<char> numbers;
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        if (text[i] == '{' && text[i + 1] >= '1' && text[i + 1] <= '9' && text[i + 2] == '}') {
            numbers.insert(text[i + 1]);
        }
    }
    return {numbers.begin(), numbers.end()};
}

}  // namespace texts

}  // namespace hashigoro
