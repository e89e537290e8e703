#include "class_sheet.h"

#include <algorithm>
#include <set>

#include "odds_sheet_text.h"
#include "plain_number.h"
#include "text_encoding.h"

namespace hashigoro {

void ClassSheet::AddText(const std::string& text) {
    if (!text_.empty() && text_.back() != '\n') {
        text_ += '\n';
    }
    text_ += text;
}

namespace class_sheet {

std::string OwnAdded(int added) {
    return std::to_string(added) + " 回の実験を追加しました。";
}

std::string OwnUnsaved(int count, const std::string& why) {
    return "結果ファイルに書けなかった実験が " + std::to_string(count) + " 回あります（" + why +
           "）。ここには入れました。次の実験の終わりにもう一度書きます。";
}

std::string CannotRead(const std::string& name) {
    return name + " を読めませんでした。";
}

}  // namespace class_sheet

void ClassSheet::AddFile(const std::string& name, std::string_view bytes) {
    const DecodedText text = DecodeText(bytes);
    files_.push_back(name + "（" + text.encoding + "）");
    AddText(text.utf8);
}

int ClassSheet::AddOwn(const std::string& text) {
    std::set<std::string_view> there;
    for (std::size_t start = 0; start < text_.size();) {
        const std::size_t end = std::min(text_.find('\n', start), text_.size());
        there.insert(std::string_view(text_).substr(start, end - start));
        start = end + 1;
    }
    std::string added;
    int count = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        if (!line.empty() && !there.contains(line)) {
            added.append(line).append("\n");
            ++count;
        }
    }
    if (count > 0) {
        AddText(added);
    }
    return count;
}

void ClassSheet::Clear() {
    *this = ClassSheet();
}

void ClassSheet::Pool() {
    StartPool();
    while (PoolStep()) {
    }
}

bool ClassSheet::PoolStep() {
    if (waiting_.empty()) {
        return false;
    }
    const auto first = waiting_.begin();
    groups_.push_back(PoolClass(first->second).front());
    waiting_.erase(first);
    return !waiting_.empty();
}

void ClassSheet::StartPool() {
    const ReadResults read = ReadResultLines(text_);
    groups_.clear();
    waiting_.clear();
    int experiments = 0;
    for (const ReadExperiment& experiment : read.experiments) {
        if (!experiment.repeated) {
            waiting_[experiment.result.rungs].push_back(experiment.result);
            ++experiments;
        }
    }
    repeated_ = read.Repeats();
    headers_ = static_cast<int>(read.headers.size());
    experiments_ = experiments;
    rejectedCount_ = static_cast<int>(read.rejected.size());
    rejected_.clear();
    for (const RejectedLine& line : read.rejected) {
        if (rejected_.size() == kMostRejectedShown) {
            break;
        }
        rejected_.push_back(std::to_string(line.line) + " 行目：" +
                            std::string(ReasonText(line.reason)) + "（" + line.text + "）");
    }
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
    std::string said;
    if (!files_.empty()) {
        said += "読んだファイル：";
        for (std::size_t i = 0; i < files_.size(); ++i) {
            said += (i > 0 ? "、" : "") + files_[i];
        }
        said += "。";
    }
    said +=
        odds_sheet::Grouped(static_cast<std::uint64_t>(experiments_)) + " 回の実験を読みました。";
    if (rejectedCount_ > 0) {
        said += "読めなかった行が " +
                odds_sheet::Grouped(static_cast<std::uint64_t>(rejectedCount_)) + " 行あります" +
                (rejectedCount_ > static_cast<int>(kMostRejectedShown)
                     ? "（初めの " + std::to_string(kMostRejectedShown) + " 行を下に示します）。"
                     : "。");
    }
    if (repeated_ > 0) {
        said += "前の行と同じ実験の行 " + std::to_string(repeated_) + " 行は、1 回だけ数えました。";
    }
    if (headers_ > 0) {
        said += "見出しの行 " + std::to_string(headers_) + " 行は飛ばしました。";
    }
    return said;
}

}  // namespace hashigoro
