#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "chi_square.h"
#include "fairness_test.h"
#include "ladder_odds.h"

// The sentences the answer sheet makes of its numbers, for every front end, in the current
// language (UTF-8, numbers with a decimal point and grouped by thousands). Its captions are
// the catalogue's.
namespace hashigoro::odds_sheet {

// The whole experiments that the sentence on a finished experiment is made from.
inline constexpr int kWholeExperiments = 2000;

// 20,000
std::string Grouped(std::uint64_t value);
// "左から 3 本目" for column 4
std::string StartLine(int column);
// "3本目" for column 4
std::string ArrivalLine(int column);
// The save failure's message.
std::string SaveFailed(const std::string& path);
// The default file names of the table and the charts.
std::string CsvFileName(int start);
std::string PngFileName(int rungs);

// How far the chosen row is from fair, and the rung count nearest to fair.
std::string DistanceSentence(int rungs, const Unfairness& chosen, int fairest,
                             const Unfairness& fairestRow);

// A finished (or cancelled) simulation of `trials` trials at `rungs` rungs, at the 5 % level:
// against the exact odds (`exactOdds`, a check of the simulation) and against fair
// (`fairness`, the verdict on the ladder).
std::string Verdict(bool cancelled, std::uint64_t trials, int rungs,
                    const ChiSquareResult& exactOdds, const FairnessResult& fairness);

// "p = 0.268", or "p < 0.001" below that; "p < 0.005" where p is only known to be `below` it.
std::string PValue(double p, bool below = false);

// The trials after which the fairness test has 8 chances in 10 of calling the ladder unfair,
// rounded as a person would say them; none when no number of trials is enough.
std::string PowerSentence(int rungs, std::optional<std::uint64_t> trials);

// Of `experiments` whole experiments at `rungs` rungs, `detected` were called unfair; their
// lengths' median and 5 to 95 % range. Rung counts the experiment cannot use get their range.
std::string ExperimentsSentence(int rungs, int experiments, int detected, int median, int low,
                                int high);

// About `trials`, two significant figures beyond a hundred.
std::uint64_t Rounded(std::uint64_t trials);

}  // namespace hashigoro::odds_sheet
