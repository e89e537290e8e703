#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "language.h"
#include "text_id.h"

// Every text of はしごろう in every language, and the language that the program speaks now.
// The desktop programs speak Japanese; the page speaks the language a person chose.
namespace hashigoro::texts {

// Every language, in the menu's order, Japanese first.
std::span<const Language* const> Languages();
// The language with this code ("ja", "ko", "zh-Hant", ...; letter case aside); null for none.
const Language* Find(std::string_view code);

// The language spoken from now on; false (and no change) for a code that is not one of ours.
bool Use(std::string_view code);
const Language& Current();

// The text in the current language; a text a language lacks is said in Japanese.
std::string_view Text(TextId id);
// Which text of the current language `text` is, whole; None for any other.
TextId IdOf(std::string_view text);
// The text in `language`.
std::string_view Text(const Language& language, TextId id);
// The text with {1}, {2}, ... replaced by `values` in order, and each {n?one|other} by the word
// that goes with value n: `one` after exactly 1, `other` after any other.
std::string Format(TextId id, std::initializer_list<std::string_view> values);
std::string Format(std::string_view text, std::initializer_list<std::string_view> values);

// A caption as a screen reader should say it: without the ideographic spaces that spread it
// over its control ("停　　　　止" is "停止") and the blanks around it.
std::string Spoken(std::string_view caption);

// The placeholders of a text, as the numbers in its {n}, each once and in order.
std::string Placeholders(std::string_view text);

}  // namespace hashigoro::texts
