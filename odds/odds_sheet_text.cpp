#include "odds_sheet_text.h"

#include <cmath>

#include "plain_number.h"
#include "rung_count_prompt.h"

namespace hashigoro::odds_sheet {

namespace {

std::string Fixed(double value, int digits) {
    return PlainNumber(value, digits, NumberStyle::Fixed);
}

}  // namespace

std::string Grouped(std::uint64_t value) {
    // Built forwards, a comma before every third digit from the right; inserting into the
    // string instead draws a false -Wrestrict from GCC 12 with optimisation.
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string StartLine(int column) {
    return "左から " + std::to_string(column - 1) + " 本目";
}

std::string ArrivalLine(int column) {
    return std::to_string(column - 1) + "本目";
}

std::string SaveFailed(const std::string& path) {
    return path + " に保存できませんでした。";
}

std::string CsvFileName(int start) {
    return "hashigoro-odds-start" + std::to_string(start) + ".csv";
}

std::string PngFileName(int rungs) {
    return "hashigoro-odds-" + std::to_string(rungs) + ".png";
}

std::string DistanceSentence(int rungs, const Unfairness& chosen, int fairest,
                             const Unfairness& fairestRow) {
    return "横線 " + std::to_string(rungs) + " 本：公平からのずれ " +
           Fixed(100 * chosen.totalVariation, 1) + " %（いちばんずれた線で " +
           Fixed(100 * chosen.largestDeviation, 1) + " %）。\nいちばん公平に近いのは " +
           std::to_string(fairest) + " 本のとき（ずれ " +
           PlainNumber(100 * fairestRow.totalVariation, 2) + " %）。";
}

std::string PValue(double p) {
    return p < 0.001 ? "p < 0.001" : "p = " + PlainNumber(p, 3);
}

std::string Verdict(bool cancelled, std::uint64_t trials, int rungs,
                    const ChiSquareResult& exactOdds, const FairnessResult& fairness) {
    const std::string odds = !CallsUnfair(exactOdds.pValue)
                                 ? "理論値との差は偶然のばらつきの範囲です。"
                                 : "理論値との差は偶然にしては大きすぎます。";
    const std::string fair = CallsUnfair(fairness.pValue)
                                 ? "公平にしては偏りが大きすぎます：偶然ではありません。"
                                 : "公平でないとまでは言えません。";
    return std::string(cancelled ? "中止までの " : "") + Grouped(trials) + " 回（横線 " +
           std::to_string(rungs) + " 本）：カイ二乗 " + Fixed(exactOdds.statistic, 2) +
           "（自由度 " + std::to_string(exactOdds.degreesOfFreedom) + "）、" +
           PValue(exactOdds.pValue) + "。\n" + odds +
           "\n公平（どの線も 10 %）と比べると：カイ二乗 " + Fixed(fairness.statistic, 2) +
           "（自由度 " + std::to_string(fairness.degreesOfFreedom) + "）、" +
           PValue(fairness.pValue) + "。\n" + fair;
}

std::uint64_t Rounded(std::uint64_t trials) {
    if (trials < 100) {
        return trials;
    }
    const auto unit = static_cast<std::uint64_t>(
        std::pow(10.0, std::floor(std::log10(static_cast<double>(trials))) - 1));
    return (trials + unit / 2) / unit * unit;
}

std::string PowerSentence(int rungs, std::optional<std::uint64_t> trials) {
    const std::string ladder = "横線 " + std::to_string(rungs) + " 本なら、";
    if (!trials) {
        return ladder + "ほとんど公平です：10 億回試行しても『偶然ではない』とはまず言えません。";
    }
    return ladder + "約 " + Grouped(Rounded(*trials)) +
           " 回の試行で 8 割の確率で『偶然ではない』と言えます。";
}

std::string ExperimentsSentence(int rungs, int experiments, int detected, int median, int low,
                                int high) {
    if (rungs < kMinRungs || rungs > kMaxRungs) {
        return "この実験で使えるのは横線 10〜50 本です。";
    }
    const double share = experiments > 0 ? 100.0 * detected / experiments : 0;
    return "この実験を最後まで行うと、約 " + Fixed(share, 0) +
           " % の確率で偏りが確かめられます。\n（1 回の実験は中央値 " + std::to_string(median) +
           " 回の試行、5〜95 % で " + std::to_string(low) + "〜" + std::to_string(high) + " 回。" +
           Grouped(static_cast<std::uint64_t>(experiments)) + " 回の実験から）";
}

}  // namespace hashigoro::odds_sheet
