#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arrivals.h"
#include "class_pool.h"
#include "experiment_state.h"

namespace hashigoro {

// What the answer sheet was asked to do by its command line.
struct OddsCommand {
    enum class Mode {
        Window,
        Csv,
        Simulate,
        Power,
        Experiments,
        Band,
        Class,
        Help,
        Version,
        Error
    };
    Mode mode = Mode::Window;
    int start = kStartColumn;    // --line L as column L + 1, or --start, the column 2..11
    std::uint64_t trials = 0;    // --simulate, 1..100,000,000
    int rungs = 0;               // --rungs, 10..50 (the experiment's own range); 0..225 for --power
    int experiments = 0;         // --experiments, 1..1,000,000
    int bandLine = 0;            // --band: the line (1..10) whose band is printed
    std::string classFile;       // --class, a file of result lines, or "-" for standard input
    bool trend = false;          // --trend with --class: the relative frequencies as they settle
    bool leaveOutAlike = false;  // --leave-out-alike with --class: lines perhaps pasted twice
    std::string error;           // Mode::Error: one line that names the bad argument
};

// Reads the arguments that follow the program's name:
//   (none)                                  the window
//   --csv [--line L]                        the exact table
//   --simulate TRIALS --rungs N [--line L]  a simulation against the exact odds
//   --power --rungs N [--line L]            the trials the fairness test needs
//   --experiments K --rungs N [--line L]    K whole experiments, tested for fairness
//   --band --rungs N [--line L]             where 95 % of experiments from line 3 fall, in
//                                           line L (default 3), at each number of trials
//   --class FILE [--trend] [--leave-out-alike]
//                                           a class's result lines pooled (FILE "-": stdin),
//                                           or their relative frequencies as they settle; the
//                                           untagged stopped lines alike counted, or left out
// The start line is L (1..10), or, as older scripts give it, --start C, the column L + 1.
//   --help, --version
OddsCommand ParseOddsCommandLine(const std::vector<std::string>& arguments);

// The two judgements of arrival counts, one line each, as the command line prints them:
//   exact odds: chi-square X with D degrees of freedom, p = P   (a check of the counts)
//   fairness: chi-square X with 9 degrees of freedom, p = P     (the verdict on the ladder)
// The fairness line says "exact tail" where its p is the exact one.
std::string JudgementLines(const ArrivalCounts& counts, const ArrivalOdds& odds);

// Where 95 % of whole experiments, and of experiments stopped by hand, fall in line `line`
// (1..10), as CSV: trials,ended_low,ended_high,stopped_low,stopped_high, the edges in %, a
// row for each number of trials either kind reaches (the other kind's cells empty where it
// has no band there).
std::string BandCsv(const ArrivalOdds& odds, int line);

// A class's experiments pooled, each rung count's group in turn: its experiments and trials,
// a table of the ten lines' counts, relative frequencies and exact odds, the two judgements as
// JudgementLines prints them, and the experiments it would take to show a bias not yet shown.
std::string ClassReport(const std::vector<ClassGroup>& groups);

}  // namespace hashigoro
