#include "experiment_result.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

namespace hashigoro {

namespace {

// The text with full-width digits, commas, colons and the ideographic space made ASCII.
std::string Narrowed(std::string_view text) {
    std::string narrow;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = [&](std::size_t k) {
            return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        };
        if (byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0x90 && byte(2) <= 0x99) {
            narrow += static_cast<char>('0' + (byte(2) - 0x90));  // ０..９
            i += 2;
        } else if (byte(0) == 0xEF && byte(1) == 0xBC &&
                   (byte(2) == 0x8C || byte(2) == 0x9A || byte(2) == 0x8E || byte(2) == 0x8D)) {
            narrow += byte(2) == 0x8C ? ',' : byte(2) == 0x9A ? ':' : byte(2) == 0x8E ? '.' : '-';
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

}  // namespace

ExperimentResult ResultOf(const FinishedExperiment& experiment) {
    ExperimentResult result{experiment.rungs, {}, experiment.fullLine};
    for (std::size_t line = 0; line < kArrivalColumns; ++line) {
        result.counts[line] = static_cast<std::uint64_t>(experiment.tallies[line]);
    }
    return result;
}

std::string ResultLine(const ExperimentResult& result) {
    // Appended piece by piece: a literal joined to a temporary string draws a false
    // -Wrestrict from GCC 12 with optimisation.
    std::string line = "横線";
    line += std::to_string(result.rungs);
    line += "本　";
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        if (c > 0) {
            line += ' ';
        }
        line += std::to_string(result.counts[c]);
    }
    line += "　";
    line += result.fullLine > 0 ? std::to_string(result.fullLine) + std::string(kFull)
                                : std::string(kStopped);
    return line;
}

std::string_view ReasonText(RejectReason reason) {
    switch (reason) {
        case RejectReason::NotTenCounts:
            return "横線の本数と 10 個の数になっていません";
        case RejectReason::CountAboveTwenty:
            return "20 より大きい数があります（1 本の線は 20 回まで）";
        case RejectReason::RungsOutOfRange:
            return "横線の本数が 10〜50 ではありません";
        case RejectReason::NoNumbers:
            return "数がありません";
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
    }
    return {};
}

ReadResults ReadResultLines(std::string_view text) {
    ReadResults read;
    int number = 0;
    bool seenLine = false;
    std::set<std::array<std::uint64_t, kArrivalColumns + 2>> seen;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        std::string line = Narrowed(raw);
        if (std::all_of(line.begin(), line.end(),
                        [](char c) { return std::isspace(static_cast<unsigned char>(c)); })) {
            if (end == text.size()) {
                break;
            }
            continue;
        }
        const bool first = !seenLine;
        seenLine = true;
        ExperimentResult result;
        // How it ended: "N本目が満杯で終了" names the full bar; it is no count.
        const std::size_t full = line.find(kFull);
        if (full != std::string::npos) {
            std::size_t digits = full;
            while (digits > 0 && IsDigit(line[digits - 1])) {
                --digits;
            }
            for (std::size_t d = digits; d < full && result.fullLine <= 10; ++d) {
                result.fullLine = result.fullLine * 10 + (line[d] - '0');
            }
            line.erase(digits);
        }
        const bool letters = std::any_of(line.begin(), line.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c));
        });
        const bool columnHeads =
            full == std::string::npos && line.find("本目") != std::string::npos;
        std::vector<long> numbers;
        const bool whole = Numbers(line, numbers);
        // A header row names the columns; a line with a group's name and its eleven numbers
        // is an experiment all the same.
        if ((letters && numbers.size() != kArrivalColumns + 1) || columnHeads ||
            (first && numbers.empty())) {
            if (end == text.size()) {
                break;
            }
            continue;
        }
        const auto reject = [&](RejectReason reason) {
            read.rejected.push_back({number, std::string(raw), reason});
        };
        if (numbers.empty()) {
            reject(RejectReason::NoNumbers);
        } else if (!whole || numbers.size() != kArrivalColumns + 1 || result.fullLine > 10) {
            reject(RejectReason::NotTenCounts);
        } else if (numbers[0] < 10 || numbers[0] > 50) {
            reject(RejectReason::RungsOutOfRange);
        } else if (std::any_of(numbers.begin() + 1, numbers.end(), [](long n) { return n > 20; })) {
            reject(RejectReason::CountAboveTwenty);
        } else {
            result.rungs = static_cast<int>(numbers[0]);
            for (std::size_t c = 0; c < kArrivalColumns; ++c) {
                result.counts[c] = static_cast<std::uint64_t>(numbers[c + 1]);
            }
            std::array<std::uint64_t, kArrivalColumns + 2> key{};
            key[0] = static_cast<std::uint64_t>(result.rungs);
            key[1] = static_cast<std::uint64_t>(result.fullLine);
            std::copy(result.counts.begin(), result.counts.end(), key.begin() + 2);
            const bool repeated = !seen.insert(key).second;
            read.experiments.push_back({number, result, repeated});
        }
        if (end == text.size()) {
            break;
        }
    }
    return read;
}

}  // namespace hashigoro
