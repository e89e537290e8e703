#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "arrivals.h"
#include "results_log.h"

namespace hashigoro {

// One whole experiment as a class hands it in: the rung count, the ten bars from left to right
// and how it ended.
struct ExperimentResult {
    int rungs = 0;           // 10..50
    ArrivalCounts counts{};  // squares in the bars of the 1st to 10th line, 0..20 each
    int fullLine = 0;        // the line (1..10) whose full bar ended it; 0 when it was stopped
    // A few letters and digits that tell this experiment from every other (its device and
    // time, drawn at random), so that a line handed in twice counts once; empty for a line
    // typed by hand.
    std::string tag{};
    // The line (1..10) of each square in the bars, in the order they came; empty where the
    // line did not say (one copied by hand, or written before the order was kept).
    std::vector<int> order{};
    // The same experiment: its order, said or not, makes no other one.
    bool operator==(const ExperimentResult& other) const {
        return rungs == other.rungs && counts == other.counts && fullLine == other.fullLine &&
               tag == other.tag;
    }
};

// A new experiment's tag, from 30 random bits: six characters of 0-9 and a-z less i, l, o, u.
std::string ExperimentTag(std::uint64_t random);

// The experiment the controller reports as finished, untagged.
ExperimentResult ResultOf(const FinishedExperiment& experiment);
// The same, with a tag of its own from the system's entropy: for the line that is kept.
ExperimentResult TaggedResultOf(const FinishedExperiment& experiment);

// The result line in the current language, for reading at a glance and for pasting anywhere,
// its tag last:
//   横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了　#k3f9a2
//   横線50本　3 5 2 7 4 2 1 0 0 0　途中で終了
std::string ResultLine(const ExperimentResult& result);
// What a screen reader is told as `experiment` ends on its full line: the end, then its line.
std::string EndSaid(const FinishedExperiment& experiment);
// The line as the device keeps it: the result line, then the order of its arrivals, each line's
// number less one as a digit after "@", when it is known and agrees with the bars:
//   横線10本　1 2 0 0 0 0 0 0 0 0　途中で終了　#k3f9a2　@011
// Every reader of result lines takes it, and a line without the order reads the same.
std::string KeptLine(const ExperimentResult& result);
// A kept line as the result line that a pupil hands in: without its order.
std::string_view WithoutOrder(std::string_view line);
// The order, when it holds exactly the squares of `counts`; empty otherwise.
std::vector<int> CheckedOrder(std::vector<int> order, const ArrivalCounts& counts);

// Why a line cannot be an experiment.
enum class RejectReason {
    NotTenCounts,      // not a rung count and ten whole numbers
    CountAboveTwenty,  // a bar holds at most twenty squares
    RungsOutOfRange,   // the experiment takes 10 to 50 rungs
    NoNumbers,         // no numbers at all
    EndingCutShort,    // "3本目" or "満杯" without the rest of how it ended
    NoSuchLine,        // "0本目が満杯で終了": the lines are 1 to 10
    FullBarNotFull,    // ended by a full bar whose count is not 20
    NoTrials,          // every count 0: stopped before its first arrival
    TagConflict,       // another line has the same tag with other counts
};
// In the current language for the windows, and in English for the command line.
std::string_view ReasonText(RejectReason reason);
std::string_view ReasonWords(RejectReason reason);

struct ReadExperiment {
    int line = 0;  // 1 for the first line of the text
    ExperimentResult result;
    // The same experiment as an earlier line, left out: the same tag and result, or an ended
    // result the same as an earlier line's, or as a tagged line's (an ended experiment's bars
    // agree by chance rarely: about once in 7×10⁵ pairs at 10 rungs).
    bool repeated = false;
    // Untagged and stopped, the same as an earlier such line: perhaps pasted twice, perhaps
    // two groups that stopped alike. Counted, and said, for a person to leave out.
    bool perhapsRepeated = false;
};
struct RejectedLine {
    int line = 0;
    std::string text;
    RejectReason reason = RejectReason::NoNumbers;
    int other = 0;  // TagConflict: the line that has the same tag
};
// Why a line is refused, in the current language, with the other line it names, if any.
std::string RejectedWhy(const RejectedLine& line);
struct ReadResults {
    std::vector<ReadExperiment> experiments;  // the repeated ones too, marked
    std::vector<RejectedLine> rejected;
    std::vector<int> headers;  // the lines taken for a table's header row
    int Repeats() const;
    // The lines perhaps pasted twice, by their numbers.
    std::vector<int> PerhapsRepeated() const;
};

// Reads many result lines at once (UTF-8), as they come from a spreadsheet's column, a chat or
// a person's typing: the program's own line in any of its languages, or the rung count and the ten
// counts separated by spaces, commas, tabs or colons, in ASCII or full-width characters, with or
// without 横線 and 本, after a group's name of any characters ("3年2組:"), and several on one line.
// Lines end at LF, CRLF, CR, U+2028 or U+2029. Blank lines are skipped, and header rows: lines with
// no number of their own that name columns (本目, 横線, Latin words) or are fields of a table.
// Every other line is read or rejected with its reason, one entry for each result on it.
ReadResults ReadResultLines(std::string_view text);

// More than any class hands in: such a text is refused whole, before it is read.
inline constexpr std::size_t kMostClassBytes = std::size_t{32} << 20;
inline constexpr std::size_t kMostClassLines = 200'000;
// Whether `bytes` are within both.
bool FitsAClass(std::string_view bytes);

}  // namespace hashigoro
