#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arrivals.h"
#include "class_pool.h"
#include "experiment_result.h"

namespace hashigoro {

// A class's relative frequencies as they settle, experiment after experiment in the order the
// lines were read: after `experiments` experiments, `trials` squares in all and `counts` of them
// in each line's bar. The trials are the bars' squares, as in the pooled table, so that the last
// row is the table's.
struct TrendRow {
    int experiments = 0;
    std::uint64_t trials = 0;
    ArrivalCounts counts{};
    // The relative frequency of line `line` (1..10) in %, 0 before any trial.
    double Percent(int line) const;
};
std::vector<TrendRow> ClassTrend(const std::vector<ExperimentResult>& inOrder);

// One experiment's relative frequency of line `line` (1..10) in %, after each of the arrivals in
// `order` (the lines 1..10 of its squares, in turn).
std::vector<double> ArrivalTrend(const std::vector<int>& order, int line);

// Every group's trend as CSV, a block for each rung count with its header row
//   rungs,experiments,trials,1,2,3,4,5,6,7,8,9,10
// and one row after each experiment, the relative frequencies in % with one decimal; a blank
// line between blocks. `inOrder` holds each group's experiments, in the groups' order.
std::string TrendCsv(const std::vector<int>& rungs,
                     const std::vector<std::vector<ExperimentResult>>& inOrder);

// How far line `line`'s (1..10) relative frequency lies from its theoretical probability, in
// percentage points: for one experiment (the mean over the experiments that have trials) and
// for the whole class pooled, as the chart of one experiment against the class draws them.
struct DistanceFromOdds {
    double oneExperiment = 0;
    double wholeClass = 0;
    std::uint64_t trials = 0;  // the class's
};
DistanceFromOdds MeanDistance(const std::vector<ExperimentResult>& experiments,
                              const ArrivalOdds& odds, int line);

// Each line's colour in the class's charts, line 1 to 10; the start line keeps the program's red.
struct LineColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};
LineColour ColourOfLine(int line);

}  // namespace hashigoro
