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
    bool operator==(const ExperimentResult&) const = default;
};

// The experiment the controller reports as finished.
ExperimentResult ResultOf(const FinishedExperiment& experiment);

// The result line, for reading at a glance and for pasting anywhere:
//   横線50本　3 5 20 7 4 2 1 0 0 0　3本目が満杯で終了
//   横線50本　3 5 2 7 4 2 1 0 0 0　途中で終了
std::string ResultLine(const ExperimentResult& result);

// Why a line cannot be an experiment.
enum class RejectReason {
    NotTenCounts,      // not a rung count and ten whole numbers
    CountAboveTwenty,  // a bar holds at most twenty squares
    RungsOutOfRange,   // the experiment takes 10 to 50 rungs
    NoNumbers,         // no numbers at all
};
// In Japanese for the windows, and in English for the command line.
std::string_view ReasonText(RejectReason reason);
std::string_view ReasonWords(RejectReason reason);

struct ReadExperiment {
    int line = 0;  // 1 for the first line of the text
    ExperimentResult result;
    bool repeated = false;  // the same as an earlier line: kept, since two groups may agree
};
struct RejectedLine {
    int line = 0;
    std::string text;
    RejectReason reason = RejectReason::NoNumbers;
};
struct ReadResults {
    std::vector<ReadExperiment> experiments;
    std::vector<RejectedLine> rejected;
};

// Reads many result lines at once, as they come from a spreadsheet's column, a chat or a
// person's typing: the program's own line, or the rung count and the ten counts separated by
// spaces, commas, tabs or colons, in ASCII or full-width characters, with or without 横線 and
// 本. Blank lines and header rows (a line with Latin letters, or with 本目 but no 満杯) are
// skipped; every other line is an experiment or is rejected with its reason.
ReadResults ReadResultLines(std::string_view text);

}  // namespace hashigoro
