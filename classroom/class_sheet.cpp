#include "class_sheet.h"

#include "odds_sheet_text.h"
#include "plain_number.h"

namespace hashigoro {

void ClassSheet::AddText(const std::string& text) {
    if (!text_.empty() && text_.back() != '\n') {
        text_ += '\n';
    }
    text_ += text;
}

void ClassSheet::Clear() {
    *this = ClassSheet();
}

void ClassSheet::Pool() {
    const ReadResults read = ReadResultLines(text_);
    std::vector<ExperimentResult> experiments;
    repeated_ = 0;
    for (const ReadExperiment& experiment : read.experiments) {
        experiments.push_back(experiment.result);
        repeated_ += experiment.repeated;
    }
    experiments_ = static_cast<int>(experiments.size());
    rejected_.clear();
    for (const RejectedLine& line : read.rejected) {
        rejected_.push_back(std::to_string(line.line) + " 行目：" +
                            std::string(ReasonText(line.reason)) + "（" + line.text + "）");
    }
    groups_ = PoolClass(experiments);
}

std::string ClassSheet::GroupTitle(const ClassGroup& group) {
    return "横線 " + std::to_string(group.rungs) + " 本：" +
           odds_sheet::Grouped(static_cast<std::uint64_t>(group.experiments)) + " 回の実験、" +
           odds_sheet::Grouped(group.trials) + " 回の試行";
}

std::string ClassSheet::Verdicts(const ClassGroup& group) {
    const auto test = [](double statistic, int degrees, double p) {
        return "カイ二乗 " + PlainNumber(statistic, 2, NumberStyle::Fixed) + "（自由度 " +
               std::to_string(degrees) + "）、" + odds_sheet::PValue(p) + "。";
    };
    std::string said =
        "公平（どの線も 10 %）と比べると：" +
        test(group.fairness.statistic, group.fairness.degreesOfFreedom, group.fairness.pValue) +
        (CallsUnfair(group.fairness.pValue) ? "公平にしては偏りが大きすぎます：偶然ではありません。"
                                            : "公平でないとまでは言えません。") +
        "\n理論値と比べると：" +
        test(group.odds.statistic, group.odds.degreesOfFreedom, group.odds.pValue) +
        (CallsUnfair(group.odds.pValue) ? "理論値との差は偶然にしては大きすぎます。"
                                        : "理論値との差は偶然のばらつきの範囲です。");
    if (const std::optional<int> more = MoreForEighty(group)) {
        said += *more > 0 ? "\n8 割の確率で偏りを見抜くには、あと約 " + std::to_string(*more) +
                                " 回の実験が要ります。"
                          : "\n8 割の確率で偏りを見抜けるだけの試行はもうあります。";
    }
    return said;
}

std::string ClassSheet::Summary() const {
    std::string said =
        odds_sheet::Grouped(static_cast<std::uint64_t>(experiments_)) + " 回の実験を読みました。";
    if (!rejected_.empty()) {
        said += "読めなかった行が " + std::to_string(rejected_.size()) + " 行あります。";
    }
    if (repeated_ > 0) {
        said += "前の行と同じ結果が " + std::to_string(repeated_) +
                " 行あります（別の班が同じ結果になることもあるので、数に入れています）。";
    }
    return said;
}

}  // namespace hashigoro
