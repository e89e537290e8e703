#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chi_square.h"
#include "fairness_test.h"
#include "ladder_odds.h"

// The answer sheet's words, for every front end: its captions, and the sentences it makes of
// its numbers (UTF-8, numbers with a decimal point and grouped by thousands as in Japanese).
namespace hashigoro::odds_sheet {

inline constexpr std::string_view kCaption = " はしごろう＿理論値";
inline constexpr std::string_view kExactGroup = "理論値（正確な確率）";
inline constexpr std::string_view kRungsLabel = "横線の本数";
inline constexpr std::string_view kRungsSuffix = " 本";
inline constexpr std::string_view kExperimentRange = "（実験で使えるのは 10〜50 本）";
inline constexpr std::string_view kStartLabel = "スタートの線";
inline constexpr std::string_view kOutlookGroup = "何回で偏りがわかるか";
inline constexpr std::string_view kSimulationGroup = "シミュレーション（実験と同じしくみ）";
inline constexpr std::string_view kTrialsLabel = "試行回数";
inline constexpr std::string_view kTrialsSuffix = " 回";
inline constexpr std::string_view kRun = "実行";
inline constexpr std::string_view kCancel = "中止";
inline constexpr std::string_view kSaveCsv = "表を CSV で保存…";
inline constexpr std::string_view kSavePng = "グラフを PNG で保存…";
inline constexpr std::string_view kSaveCsvTitle = "表を CSV で保存";
inline constexpr std::string_view kSavePngTitle = "グラフを PNG で保存";
inline constexpr std::string_view kSimulating = "シミュレーション中…";
inline constexpr std::string_view kCancelled = "中止しました。";

inline constexpr std::string_view kBarChartTitle = "どの線に着くか（%）";
inline constexpr std::string_view kExactSeries = "理論値";
inline constexpr std::string_view kSimulatedSeries = "シミュレーション";
inline constexpr std::string_view kFairSeries = "公平なら 10 %";
inline constexpr std::string_view kPercentAxis = "%";
inline constexpr std::string_view kDistanceChartTitle = "公平からのずれ（全変動距離、%）";
inline constexpr std::string_view kExperimentBand = "実験の範囲";
inline constexpr std::string_view kDistanceSeries = "ずれ";
inline constexpr std::string_view kChosenSeries = "選んだ本数";
inline constexpr std::string_view kPowerChartTitle = "偏りを見抜く確率（5 % の検定）";
inline constexpr std::string_view kPowerSeries = "見抜く確率";
inline constexpr std::string_view kEightyPercent = "8 割";
inline constexpr std::string_view kTrialsAxis = "試行回数";

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

// "p = 0.268", or "p < 0.001" below that.
std::string PValue(double p);

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
