#include "experiment_result.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <tuple>

#include "catalogue.h"
#include "csv_record.h"
#include "experiment_state.h"

namespace hashigoro {

namespace {

// The text with the full-width forms of ASCII (digits, letters, ＃, ，, ：…) made ASCII, as
// Unicode's compatibility normalisation folds them, and the ideographic space and comma blanks.
std::string Narrowed(std::string_view text) {
    std::string narrow;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = [&](std::size_t k) {
            return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        };
        if (byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0x81 && byte(2) <= 0xBF) {
            narrow += static_cast<char>(byte(2) - 0x60);  // U+FF01..U+FF3F: ！..＿
            i += 2;
        } else if (byte(0) == 0xEF && byte(1) == 0xBD && byte(2) >= 0x80 && byte(2) <= 0x9E) {
            narrow += static_cast<char>(byte(2) - 0x20);  // U+FF40..U+FF5E: ｀..～
            i += 2;
        } else if (byte(0) == 0xE3 && byte(1) == 0x80 && (byte(2) == 0x80 || byte(2) == 0x81)) {
            narrow += ' ';  // the ideographic space and comma
            i += 2;
        } else {
            narrow += text[i];
        }
    }
    return narrow;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The whole numbers of the line in order; false when a number is not whole (a point or a
// minus sign joined to it).
bool Numbers(std::string_view line, std::vector<long>& numbers) {
    bool whole = true;
    for (std::size_t i = 0; i < line.size();) {
        if (!IsDigit(line[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        long value = 0;
        while (i < line.size() && IsDigit(line[i])) {
            value = std::min(value * 10 + (line[i] - '0'), 1'000'000L);
            ++i;
        }
        const bool signed_ = start > 0 && line[start - 1] == '-';
        const bool fraction = i + 1 < line.size() && line[i] == '.' && IsDigit(line[i + 1]);
        whole = whole && !signed_ && !fraction;
        if (fraction) {
            while (++i < line.size() && IsDigit(line[i])) {
            }
        }
        numbers.push_back(value);
    }
    return whole;
}

constexpr std::string_view kFull = "本目が満杯で終了";
constexpr std::string_view kStopped = "途中で終了";
constexpr std::string_view kRungs = "横線";
// Before the order of the arrivals, as the device keeps it.
constexpr char kOrderMark = '@';
constexpr std::string_view kTagLetters = "0123456789abcdefghjkmnpqrstvwxyz";

bool IsLatin(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == ':' || c == ';' || c == '|' || c == '\v' ||
           c == '\f';
}
bool IsBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\0';
    });
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (IsSeparator(s.front()) || s.front() == '\0')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (IsSeparator(s.back()) || s.back() == '\0')) {
        s.remove_suffix(1);
    }
    return s;
}

// The lines of the text, at LF, CRLF, CR, U+2028 and U+2029.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = 0;
        if (text[i] == '\n') {
            end = 1;
        } else if (text[i] == '\r') {
            end = i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        } else if (text.substr(i, 3) == "\u2028" || text.substr(i, 3) == "\u2029") {
            end = 3;
        }
        if (end > 0) {
            lines.push_back(text.substr(start, i - start));
            i += end;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text with its Latin capitals made small.
std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), Lower);
    return lowered;
}

// Where `pattern` (a result line's words, "{1}" standing for a whole number) matches `text`
// at `at`: the end of the match and the number, or npos. Latin letters match in either case,
// and a blank in the pattern matches any blanks, or none.
std::size_t MatchAt(std::string_view text, std::size_t at, std::string_view pattern,
                    std::string& number) {
    for (std::size_t k = 0; k < pattern.size();) {
        if (pattern.substr(k, 3) == "{1}") {
            const std::size_t start = at;
            while (at < text.size() && IsDigit(text[at])) {
                ++at;
            }
            if (at == start) {
                return std::string_view::npos;
            }
            number = std::string(text.substr(start, at - start));
            k += 3;
        } else if (pattern[k] == ' ') {
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
                ++at;
            }
            ++k;
        } else if (at < text.size() && Lower(text[at]) == Lower(pattern[k])) {
            ++at;
            ++k;
        } else {
            return std::string_view::npos;
        }
    }
    return at;
}

// The line with every language's words of the result line ("50 rungs", "가로선 50개",
// "第3条线满格结束", ...) put in Japanese, so that a class's lines in any language read alike.
std::string InJapanese(std::string line) {
    struct Rewrite {
        std::string pattern;    // another language's words, narrowed
        std::string_view into;  // the Japanese words
        std::string key;        // the pattern's longest words, in lower case
    };
    // Worked out once: the catalogue does not change while the program runs.
    static const std::vector<Rewrite> rewrites = [] {
        std::vector<Rewrite> made;
        const Language& japanese = *texts::Languages().front();
        // Every wording ever released, so that a line copied from an older version still reads.
        for (const Language* language : texts::Languages()) {
            for (const TextEntry& wording : language->released) {
                const TextId id = wording.id;
                std::string pattern = Narrowed(wording.text);
                if (pattern.empty() || pattern == texts::Text(japanese, id)) {
                    continue;
                }
                std::string key;
                for (std::size_t start = 0; start < pattern.size();) {
                    std::size_t end = pattern.find_first_of(" {", start);
                    end = end == std::string::npos ? pattern.size() : end;
                    key = end - start > key.size() ? pattern.substr(start, end - start) : key;
                    start = pattern[end] == '{' ? end + 3 : end + 1;
                }
                made.push_back({pattern, texts::Text(japanese, id), Lowered(key)});
            }
        }
        return made;
    }();
    // Most lines hold no other language's words: each pattern's longest words are looked for
    // first, so that such a line costs a search for each.
    const bool capitals =
        std::any_of(line.begin(), line.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    std::string lowered = capitals ? Lowered(line) : std::string();
    for (const Rewrite& rewrite : rewrites) {
        if ((capitals ? lowered : line).find(rewrite.key) == std::string::npos) {
            continue;
        }
        std::string out;
        for (std::size_t i = 0; i < line.size();) {
            std::string number;
            // A number is read whole: a pattern that opens with one starts at a digit's run.
            const bool mayStart = !(IsDigit(line[i]) && i > 0 && IsDigit(line[i - 1]));
            const std::size_t end =
                mayStart ? MatchAt(line, i, rewrite.pattern, number) : std::string_view::npos;
            if (end == std::string_view::npos || end == i) {
                out += line[i++];
                continue;
            }
            out += texts::Format(rewrite.into, {number});
            i = end;
        }
        line = std::move(out);
        if (capitals) {
            lowered = Lowered(line);
        }
    }
    return line;
}

// Whether a word names the rungs in some language, as a header row's "横線", "rungs", "가로선".
bool NamesRungs(std::string_view token) {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> made;
        for (const Language* language : texts::Languages()) {
            for (const TextEntry& wording : language->released) {
                if (wording.id != TextId::ResultRungs) {
                    continue;
                }
                // The longest words beside the number: 横線 of 横線{1}本, rungs of {1} rungs.
                const std::string pattern = Narrowed(wording.text);
                std::string_view longest;
                for (std::size_t start = 0; start < pattern.size();) {
                    const std::size_t end = std::min(pattern.find("{1}", start), pattern.size());
                    const std::string_view word =
                        Trimmed(std::string_view(pattern).substr(start, end - start));
                    longest = word.size() > longest.size() ? word : longest;
                    start = end + 3;
                }
                if (!longest.empty()) {
                    made.emplace_back(longest);
                }
            }
        }
        return made;
    }();
    return std::any_of(words.begin(), words.end(), [&](const std::string& word) {
        return token.find(word) != std::string_view::npos;
    });
}

// The pieces of a line that hold one result each: a piece ends after its ending ("…で終了")
// and the tag that follows it, and a second 横線 begins a new one.
std::vector<std::string_view> Pieces(std::string_view whole) {
    std::vector<std::string_view> pieces;
    // Where each word stands next, from the piece on: looked for again only once passed, so
    // that a line of many results is read in one pass.
    std::size_t at = 0;
    const auto next = [&](std::string_view word, std::size_t& cached) {
        if (cached == std::string_view::npos - 1 ||
            (cached != std::string_view::npos && cached < at)) {
            cached = whole.find(word, at);
        }
        return cached == std::string_view::npos ? cached : cached - at;
    };
    std::size_t fullAt = std::string_view::npos - 1;
    std::size_t stoppedAt = std::string_view::npos - 1;
    std::size_t rungsAt = std::string_view::npos - 1;
    for (std::string_view line = whole; !line.empty(); line = whole.substr(at)) {
        std::size_t end = line.size();
        const std::size_t ending = std::min(next("満杯で終了", fullAt), next(kStopped, stoppedAt));
        if (ending != std::string_view::npos) {
            end = ending + (line.substr(ending).starts_with(kStopped)
                                ? kStopped.size()
                                : std::string_view("満杯で終了").size());
            std::size_t after = end;
            while (after < line.size() && IsSeparator(line[after])) {
                ++after;
            }
            if (after < line.size() && line[after] == '#') {
                end = after + 1;
                while (end < line.size() && (IsDigit(line[end]) || IsLatin(line[end]))) {
                    ++end;
                }
            }
            // The order of the arrivals, as the device keeps it, belongs to the piece too.
            after = end;
            while (after < line.size() && IsSeparator(line[after])) {
                ++after;
            }
            if (after < line.size() && line[after] == kOrderMark) {
                end = after + 1;
                while (end < line.size() && IsDigit(line[end])) {
                    ++end;
                }
            }
        }
        const std::size_t first = next(kRungs, rungsAt);
        const std::size_t second =
            first == std::string_view::npos ? first : line.find(kRungs, first + kRungs.size());
        // What follows an ending, up to the next result, is its piece's too (a full stop, a
        // bracket, a date, a note), unless it holds a whole result of its own.
        if (ending != std::string_view::npos) {
            const std::string_view tail =
                line.substr(end, std::min(second, line.size()) - std::min(end, line.size()));
            std::vector<long> numbers;
            Numbers(tail, numbers);
            if (numbers.size() < kArrivalColumns + 1) {
                end = std::min(second, line.size());
            }
        }
        end = std::min(end, second);
        if (!IsBlank(Trimmed(line.substr(0, end)))) {
            pieces.push_back(line.substr(0, end));
        }
        at += end;
    }
    return pieces;
}

// A class's name of digits joined by a hyphen or slash, as schools write them: "2-1", "3/2".
bool IsClassName(std::string_view text) {
    const std::size_t join = text.find_first_of("-/");
    return join > 0 && join != std::string_view::npos && join + 1 < text.size() &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return IsDigit(c) || c == '-' || c == '/'; });
}

// The next word of `text` from `at` on, between separators; `at` moves past it.
std::string_view NextToken(std::string_view text, std::size_t& at) {
    while (at < text.size() && IsSeparator(text[at])) {
        ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && !IsSeparator(text[at])) {
        ++at;
    }
    return text.substr(start, at - start);
}

// A table's header row: no number of its own (every digit belongs to a word such as 1本目 or
// col10), and words that name columns or fields of a table.
bool IsHeader(std::string_view line) {
    // A rung count and ten counts, in any wording ("50本,3回,…", "'50,'3,…"), are data.
    std::vector<long> numbers;
    Numbers(line, numbers);
    if (numbers.size() >= kArrivalColumns + 1) {
        return false;
    }
    bool names =
        line.find(',') != std::string_view::npos || line.find('\t') != std::string_view::npos;
    for (std::size_t at = 0; at < line.size();) {
        const std::string_view token = NextToken(line, at);
        if (token.empty()) {
            continue;
        }
        if (std::all_of(token.begin(), token.end(), IsDigit) ||
            (token.starts_with(kRungs) && token.size() > kRungs.size() &&
             IsDigit(token[kRungs.size()]))) {
            return false;  // a number, or 横線50本
        }
        names = names || std::any_of(token.begin(), token.end(), IsLatin) ||
                token.find("本目") != std::string_view::npos || NamesRungs(token);
    }
    return names;
}

struct Piece {
    ExperimentResult result;
    std::optional<RejectReason> reason;
};

Piece ReadPiece(std::string_view piece) {
    Piece read;
    std::string text(piece);
    // What follows an ending is left out but for a tag and the order of the arrivals, wherever
    // they stand in it ("…で終了」 #k3f9a2", "…で終了。（1班）").
    std::string after;
    {
        std::size_t ends = std::string::npos;
        if (const std::size_t at = text.find(kFull); at != std::string::npos) {
            ends = at + kFull.size();
        } else if (const std::size_t stop = text.find(kStopped); stop != std::string::npos) {
            ends = stop + kStopped.size();
        }
        if (ends != std::string::npos) {
            after = text.substr(ends);
            text.erase(ends);
        }
    }
    for (std::size_t mark = after.find('#'); mark != std::string::npos;
         mark = after.find('#', mark + 1)) {
        std::size_t end = mark + 1;
        while (end < after.size() && (IsDigit(after[end]) || IsLatin(after[end]))) {
            ++end;
        }
        if (end - mark - 1 >= 4 && end - mark - 1 <= 12) {
            text += ' ';
            text.append(after, mark, end - mark);
            break;
        }
    }
    if (const std::size_t mark = after.find(kOrderMark); mark != std::string::npos) {
        std::size_t end = mark + 1;
        while (end < after.size() && IsDigit(after[end])) {
            ++end;
        }
        text += ' ';
        text.append(after, mark, end - mark);
    }
    // The order of the arrivals, last of all where the device kept it: "@" and digits.
    std::vector<int> order;
    if (const std::size_t mark = text.rfind(kOrderMark); mark != std::string::npos) {
        std::size_t end = mark + 1;
        while (end < text.size() && IsDigit(text[end])) {
            order.push_back(text[end] - '0' + 1);
            ++end;
        }
        if (end > mark + 1 && IsBlank(Trimmed(text.substr(end)))) {
            text.erase(mark);
        } else {
            order.clear();
        }
    }
    // The tag, last but for the order: "#" and letters and digits.
    if (const std::size_t hash = text.rfind('#'); hash != std::string::npos) {
        std::size_t end = hash + 1;
        while (end < text.size() && (IsDigit(text[end]) || IsLatin(text[end]))) {
            ++end;
        }
        if (end - hash - 1 >= 4 && end - hash - 1 <= 12 && IsBlank(Trimmed(text.substr(end)))) {
            read.result.tag = text.substr(hash + 1, end - hash - 1);
            std::transform(
                read.result.tag.begin(), read.result.tag.end(), read.result.tag.begin(),
                [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
            text.erase(hash);
        }
    }
    // How it ended: "N本目が満杯で終了" names the full bar and is no count; "途中で終了".
    bool full = false;
    if (const std::size_t found = text.find(kFull); found != std::string::npos) {
        // "3本目", and "3 本目" as a person may type it.
        std::size_t at = found;
        while (at > 0 && text[at - 1] == ' ') {
            --at;
        }
        std::size_t digits = at;
        while (digits > 0 && IsDigit(text[digits - 1])) {
            --digits;
        }
        if (digits == at) {
            read.reason = RejectReason::EndingCutShort;
            return read;
        }
        for (std::size_t d = digits; d < at && read.result.fullLine <= 10; ++d) {
            read.result.fullLine = read.result.fullLine * 10 + (text[d] - '0');
        }
        full = true;
        text.erase(digits);
    } else if (const std::size_t stop = text.find(kStopped); stop != std::string::npos) {
        text.erase(stop);
    } else {
        for (std::string_view part : {"本目", "満杯", "途中", "終了"}) {
            if (text.find(part) != std::string::npos) {
                read.reason = RejectReason::EndingCutShort;
                return read;
            }
        }
    }
    // A group's name first: all before 横線, or the first words that are not numbers alone.
    std::string_view rest = text;
    if (const std::size_t rungs = rest.find(kRungs); rungs != std::string_view::npos) {
        rest.remove_prefix(rungs);
    } else {
        for (;;) {
            std::size_t end = 0;
            const std::string_view token = NextToken(rest, end);
            const std::string_view digits = token.substr(
                0, std::find_if_not(token.begin(), token.end(), IsDigit) - token.begin());
            const bool count = token.size() > digits.size() && !digits.empty() &&
                               token.substr(digits.size()) == "本";  // 50本
            const bool name = !token.empty() && digits.size() < token.size() && !count &&
                              !(token[0] == '-' || token[0] == '.') && !IsDigit(token.back());
            if (!name) {
                break;
            }
            rest.remove_prefix(end);
        }
    }
    std::vector<long> numbers;
    bool whole = Numbers(rest, numbers);
    // A name that holds numbers of its own ("Group 1:", "グループ1:", a chat's "10:32 田中:",
    // a class's "2-1"): the result is the rung count and ten counts after it.
    if (numbers.size() > kArrivalColumns + 1) {
        for (std::size_t cut = rest.size(); cut-- > 0;) {
            if (rest[cut] != ':' &&
                !(cut > 0 && rest[cut] == ' ' && IsClassName(rest.substr(0, cut)))) {
                continue;
            }
            std::vector<long> after;
            if (Numbers(rest.substr(cut + 1), after) && after.size() == kArrivalColumns + 1) {
                numbers = std::move(after);
                whole = true;
                break;
            }
        }
    }
    if (numbers.empty()) {
        read.reason = RejectReason::NoNumbers;
    } else if (!whole || numbers.size() != kArrivalColumns + 1) {
        read.reason = RejectReason::NotTenCounts;
    } else if (numbers[0] < 10 || numbers[0] > 50) {
        read.reason = RejectReason::RungsOutOfRange;
    } else if (std::any_of(numbers.begin() + 1, numbers.end(), [](long n) { return n > 20; })) {
        read.reason = RejectReason::CountAboveTwenty;
    } else if (full && (read.result.fullLine < 1 || read.result.fullLine > 10)) {
        read.reason = RejectReason::NoSuchLine;
    } else if (full && numbers[static_cast<std::size_t>(read.result.fullLine)] != kFullBar) {
        read.reason = RejectReason::FullBarNotFull;
    } else if (std::all_of(numbers.begin() + 1, numbers.end(), [](long n) { return n == 0; })) {
        read.reason = RejectReason::NoTrials;  // no experiment to pool
    } else {
        read.result.rungs = static_cast<int>(numbers[0]);
        for (std::size_t c = 0; c < kArrivalColumns; ++c) {
            read.result.counts[c] = static_cast<std::uint64_t>(numbers[c + 1]);
        }
        // An order that does not hold the bars' squares is no order of theirs.
        read.result.order = CheckedOrder(std::move(order), read.result.counts);
    }
    return read;
}

}  // namespace

std::string ExperimentTag(std::uint64_t random) {
    std::string tag;
    for (int i = 0; i < 6; ++i, random >>= 5) {
        tag += kTagLetters[random & 31];
    }
    return tag;
}

ExperimentResult ResultOf(const FinishedExperiment& experiment) {
    ExperimentResult result{experiment.rungs, {}, experiment.fullLine, {}};
    for (std::size_t line = 0; line < kArrivalColumns; ++line) {
        result.counts[line] = static_cast<std::uint64_t>(experiment.tallies[line]);
    }
    result.order = CheckedOrder(experiment.arrivals, result.counts);
    return result;
}

std::vector<int> CheckedOrder(std::vector<int> order, const ArrivalCounts& counts) {
    ArrivalCounts seen{};
    for (int line : order) {
        if (line < 1 || line > 10) {
            return {};
        }
        ++seen[static_cast<std::size_t>(line - 1)];
    }
    return seen == counts ? order : std::vector<int>{};
}

bool FitsAClass(std::string_view bytes) {
    return bytes.size() <= kMostClassBytes &&
           static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) <=
               kMostClassLines;
}

std::string RejectedWhy(const RejectedLine& line) {
    return line.reason == RejectReason::TagConflict
               ? texts::Format(TextId::TagConflict, {std::to_string(line.other)})
               : std::string(ReasonText(line.reason));
}

std::string_view WithoutOrder(std::string_view line) {
    const std::size_t mark = line.rfind(kOrderMark);
    if (mark == line.npos || mark + 1 == line.size() ||
        !std::all_of(line.begin() + static_cast<std::ptrdiff_t>(mark) + 1, line.end(),
                     [](char c) { return IsDigit(c); })) {
        return line;
    }
    line = line.substr(0, mark);
    // And the blanks before it: spaces, tabs, the ideographic space.
    for (;;) {
        if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        } else if (line.ends_with("\u3000")) {
            line.remove_suffix(std::string_view("\u3000").size());
        } else {
            return line;
        }
    }
}

std::string KeptLine(const ExperimentResult& result) {
    std::string line = ResultLine(result);
    if (!result.order.empty()) {
        line += texts::Text(TextId::ResultSeparator);
        line += kOrderMark;
        for (int arrived : result.order) {
            line += static_cast<char>('0' + arrived - 1);
        }
    }
    return line;
}

ExperimentResult TaggedResultOf(const FinishedExperiment& experiment) {
    ExperimentResult result = ResultOf(experiment);
    std::random_device entropy;
    result.tag = ExperimentTag(static_cast<std::uint64_t>(entropy()) << 32 | entropy());
    return result;
}

std::string EndSaid(const FinishedExperiment& experiment) {
    std::string said = texts::Format(TextId::ArrivedFull, {std::to_string(experiment.fullLine)});
    said += texts::Text(TextId::SentenceGap);
    said += ResultLine(ResultOf(experiment));
    return said;
}

std::string ResultLine(const ExperimentResult& result) {
    // Appended piece by piece: a literal joined to a temporary string draws a false
    // -Wrestrict from GCC 12 with optimisation.
    const std::string_view separator = texts::Text(TextId::ResultSeparator);
    std::string line = texts::Format(TextId::ResultRungs, {std::to_string(result.rungs)});
    line += separator;
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        if (c > 0) {
            line += ' ';
        }
        line += std::to_string(result.counts[c]);
    }
    line += separator;
    line += result.fullLine > 0
                ? texts::Format(TextId::ResultFull, {std::to_string(result.fullLine)})
                : std::string(texts::Text(TextId::ResultStopped));
    if (!result.tag.empty()) {
        line += separator;
        line += '#';
        line += result.tag;
    }
    return line;
}

std::string_view ReasonText(RejectReason reason) {
    switch (reason) {
        case RejectReason::NotTenCounts:
            return texts::Text(TextId::NotTenCounts);
        case RejectReason::CountAboveTwenty:
            return texts::Text(TextId::CountAboveTwenty);
        case RejectReason::RungsOutOfRange:
            return texts::Text(TextId::RungsOutOfRange);
        case RejectReason::NoNumbers:
            return texts::Text(TextId::NoNumbers);
        case RejectReason::EndingCutShort:
            return texts::Text(TextId::EndingCutShort);
        case RejectReason::NoSuchLine:
            return texts::Text(TextId::NoSuchLine);
        case RejectReason::FullBarNotFull:
            return texts::Text(TextId::FullBarNotFull);
        case RejectReason::NoTrials:
            return texts::Text(TextId::NoTrials);
        case RejectReason::TagConflict:
            return texts::Text(TextId::TagConflict);
    }
    return {};
}

std::string_view ReasonWords(RejectReason reason) {
    switch (reason) {
        case RejectReason::NotTenCounts:
            return "not a rung count and ten counts";
        case RejectReason::CountAboveTwenty:
            return "a count above 20";
        case RejectReason::RungsOutOfRange:
            return "a rung count outside 10 to 50";
        case RejectReason::NoNumbers:
            return "no numbers at all";
        case RejectReason::EndingCutShort:
            return "how it ended is cut short";
        case RejectReason::NoSuchLine:
            return "the full line is not one of 1 to 10";
        case RejectReason::FullBarNotFull:
            return "ended by a full bar whose count is not 20";
        case RejectReason::NoTrials:
            return "no trials (every count is 0)";
        case RejectReason::TagConflict:
            return "another line has the same tag with other counts";
    }
    return {};
}

int ReadResults::Repeats() const {
    return static_cast<int>(std::count_if(experiments.begin(), experiments.end(),
                                          [](const ReadExperiment& e) { return e.repeated; }));
}

std::vector<int> ReadResults::PerhapsRepeated() const {
    std::vector<int> lines;
    for (const ReadExperiment& experiment : experiments) {
        if (experiment.perhapsRepeated) {
            lines.push_back(experiment.line);
        }
    }
    return lines;
}

ReadResults ReadResultLines(std::string_view text) {
    ReadResults read;
    std::set<std::tuple<std::string, int, int, ArrivalCounts>> seen;
    const std::vector<std::string_view> lines = Lines(text);
    std::vector<std::string> texts;  // each experiment's line as it was written
    int number = 0;
    for (std::size_t next = 0; next < lines.size(); ++next) {
        number = static_cast<int>(next) + 1;
        std::string_view raw = lines[next];
        // A record of a CSV file with quotes (every field quoted, a comma inside a field, a
        // line break inside quotes) is read as its fields, the quotes taken off.
        std::string unquoted;
        if (const std::optional<CsvRecord> record = QuotedRecord(lines, next)) {
            for (const std::string& field : record->fields) {
                unquoted += (unquoted.empty() ? "" : "\t") + field;
            }
            raw = unquoted;
            next += record->lines - 1;
        }
        const std::string line = InJapanese(Narrowed(raw));
        if (IsBlank(line)) {
            continue;
        }
        if (IsHeader(line)) {
            read.headers.push_back(number);
            continue;
        }
        const std::vector<std::string_view> pieces = Pieces(line);
        for (std::string_view piece : pieces) {
            const Piece got = ReadPiece(piece);
            if (got.reason) {
                // The line as it was written, or the piece of it when it holds several.
                read.rejected.push_back(
                    {number, std::string(pieces.size() == 1 ? Trimmed(raw) : Trimmed(piece)),
                     *got.reason});
                continue;
            }
            const ExperimentResult& result = got.result;
            texts.push_back(std::string(pieces.size() == 1 ? Trimmed(raw) : Trimmed(piece)));
            const bool counted = !result.tag.empty() || result.fullLine > 0;
            const bool repeated =
                counted &&
                !seen.insert({result.tag, result.rungs, result.fullLine, result.counts}).second;
            read.experiments.push_back({number, result, repeated});
        }
    }
    // A tag names one experiment: lines that give it other counts are all refused, each naming
    // another, since none of them can be told to be the right one.
    std::map<std::string, std::vector<std::size_t>> byTag;
    for (std::size_t i = 0; i < read.experiments.size(); ++i) {
        if (!read.experiments[i].result.tag.empty()) {
            byTag[read.experiments[i].result.tag].push_back(i);
        }
    }
    std::vector<bool> conflicting(read.experiments.size(), false);
    for (const auto& [tag, lines] : byTag) {
        for (std::size_t i : lines) {
            for (std::size_t j : lines) {
                if (!(read.experiments[i].result == read.experiments[j].result)) {
                    conflicting[i] = true;
                    read.rejected.push_back({read.experiments[i].line, texts[i],
                                             RejectReason::TagConflict, read.experiments[j].line});
                    break;
                }
            }
        }
    }
    if (std::find(conflicting.begin(), conflicting.end(), true) != conflicting.end()) {
        std::vector<ReadExperiment> kept;
        for (std::size_t i = 0; i < read.experiments.size(); ++i) {
            if (!conflicting[i]) {
                kept.push_back(read.experiments[i]);
            }
        }
        read.experiments = std::move(kept);
        std::stable_sort(
            read.rejected.begin(), read.rejected.end(),
            [](const RejectedLine& a, const RejectedLine& b) { return a.line < b.line; });
    }
    std::vector<ReadExperiment>& all = read.experiments;
    // An ended experiment handed in once with its tag and once without (copied by hand) counts
    // once: where lines of the same ended result carry tags, those without one add nothing, in
    // whatever order they stand.
    std::set<std::tuple<int, int, ArrivalCounts>> tagged;
    for (const ReadExperiment& experiment : all) {
        const ExperimentResult& result = experiment.result;
        if (result.fullLine > 0 && !result.tag.empty()) {
            tagged.insert({result.rungs, result.fullLine, result.counts});
        }
    }
    for (ReadExperiment& experiment : all) {
        const ExperimentResult& result = experiment.result;
        if (result.fullLine > 0 && result.tag.empty() &&
            tagged.contains({result.rungs, result.fullLine, result.counts})) {
            experiment.repeated = true;
        }
    }
    // Untagged stopped lines alike may be one line pasted twice, or two groups that stopped
    // alike: only a tag could tell. Every one after the first is counted and marked, whatever
    // the order of the lines, for a person to leave out.
    std::set<std::pair<int, ArrivalCounts>> stoppedSeen;
    for (ReadExperiment& experiment : all) {
        const ExperimentResult& result = experiment.result;
        if (result.tag.empty() && result.fullLine == 0 && !experiment.repeated &&
            !stoppedSeen.insert({result.rungs, result.counts}).second) {
            experiment.perhapsRepeated = true;
        }
    }
    return read;
}

}  // namespace hashigoro
