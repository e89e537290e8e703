#include "class_sheet.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "catalogue.h"
#include "experiment_state.h"
#include "odds_sheet_text.h"
#include "plain_number.h"
#include "text_encoding.h"

namespace hashigoro {

void ClassSheet::AddText(const std::string& text) {
    notice_.clear();
    if (!text_.empty() && text_.back() != '\n') {
        text_ += '\n';
    }
    text_ += text;
}

namespace {

// Line numbers as the summary names them: the first ten, then "…".
std::string LineNumbers(const std::vector<int>& lines) {
    constexpr std::size_t kMostNamed = 10;
    std::string numbers;
    for (std::size_t i = 0; i < lines.size() && i < kMostNamed; ++i) {
        if (i > 0) {
            numbers += texts::Text(TextId::ClassListSeparator);
        }
        numbers += std::to_string(lines[i]);
    }
    if (lines.size() > kMostNamed) {
        numbers += "…";
    }
    return numbers;
}

}  // namespace

namespace class_sheet {

std::string OwnAdded(int added) {
    return texts::Format(TextId::ClassOwnAdded, {std::to_string(added)});
}

std::string OwnUnsaved(int count, const std::string& why) {
    return texts::Format(TextId::ClassOwnUnsaved, {std::to_string(count), why});
}

std::string CannotRead(const std::string& name) {
    return texts::Format(TextId::ClassCannotRead, {name});
}

std::string TooLarge(const std::string& name) {
    return texts::Format(TextId::ClassTooLarge, {name});
}

}  // namespace class_sheet

bool ClassSheet::AddFile(const std::string& name, std::string_view bytes) {
    if (!FitsAClass(bytes)) {
        notice_ = class_sheet::TooLarge(name);
        return false;
    }
    const DecodedText text = DecodeText(bytes);
    files_.push_back({name, text.encoding});
    AddText(text.utf8);
    return true;
}

int ClassSheet::AddOwn(const std::string& text) {
    notice_.clear();
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
        std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        // As a pupil hands the line in: without the order the device keeps.
        line = WithoutOrder(line);
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

void ClassSheet::AddOwnLines(const std::string& kept, const std::string& unsaved,
                             const std::string& why) {
    // A last line cut short by a failed write stays a line of its own.
    const bool closed = kept.empty() || kept.back() == '\n';
    const int added = AddOwn(kept + (closed ? "" : "\n") + unsaved);
    std::string said = kept.empty() && unsaved.empty()
                           ? std::string(texts::Text(TextId::ClassNoOwn))
                       : added == 0 ? std::string(texts::Text(TextId::ClassOwnAllThere))
                                    : class_sheet::OwnAdded(added);
    if (!unsaved.empty()) {
        said += texts::Text(TextId::SentenceGap);
        said += class_sheet::OwnUnsaved(
            static_cast<int>(std::count(unsaved.begin(), unsaved.end(), '\n')), why);
    }
    notice_ = said;
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
    members_.push_back(std::move(first->second));
    waiting_.erase(first);
    return !waiting_.empty();
}

void ClassSheet::StartPool() {
    const ReadResults read = ReadResultLines(text_);
    groups_.clear();
    members_.clear();
    waiting_.clear();
    int experiments = 0;
    perhaps_ = read.PerhapsRepeated();
    for (const ReadExperiment& experiment : read.experiments) {
        if (!experiment.repeated && !(leaveOut_ && experiment.perhapsRepeated)) {
            waiting_[experiment.result.rungs].push_back(experiment.result);
            ++experiments;
        }
    }
    repeated_ = read.Repeats();
    headers_ = static_cast<int>(read.headers.size());
    headerLines_ = read.headers;
    experiments_ = experiments;
    rejectedCount_ = static_cast<int>(read.rejected.size());
    rejected_.clear();
    for (const RejectedLine& line : read.rejected) {
        if (rejected_.size() == kMostRejectedShown) {
            break;
        }
        rejected_.push_back(line);
    }
}

std::vector<std::string> ClassSheet::Rejected() const {
    std::vector<std::string> said;
    for (const RejectedLine& line : rejected_) {
        said.push_back(texts::Format(TextId::ClassRejected,
                                     {std::to_string(line.line), RejectedWhy(line), line.text}));
    }
    return said;
}

std::string ClassSheet::GroupTitle(const ClassGroup& group) {
    return texts::Format(TextId::ClassGroupTitle,
                         {std::to_string(group.rungs),
                          odds_sheet::Grouped(static_cast<std::uint64_t>(group.experiments)),
                          odds_sheet::Grouped(group.trials)});
}

std::string ClassSheet::Verdicts(const ClassGroup& group) {
    const auto test = [](double statistic, int degrees, double p, bool below = false) {
        return texts::Format(TextId::ClassChiSquare,
                             {PlainNumber(statistic, 2, NumberStyle::Fixed),
                              std::to_string(degrees), odds_sheet::PValue(p, below)});
    };
    // Appended piece by piece: a literal joined to a temporary string draws a false
    // -Wrestrict from GCC 12 with optimisation.
    std::string said(texts::Text(TextId::ClassAgainstFair));
    said += test(group.fairness.statistic, group.fairness.degreesOfFreedom, group.fairness.pValue);
    said += texts::Text(CallsUnfair(group.fairness.pValue) ? TextId::Unfair : TextId::NotUnfair);
    said += '\n';
    said += texts::Text(TextId::ClassAgainstOdds);
    said += test(group.odds.statistic, group.odds.degreesOfFreedom, group.odds.pValue,
                 group.odds.below);
    said += texts::Text(CallsUnfair(group.odds.pValue) ? TextId::OddsDisagree : TextId::OddsAgree);
    if (const std::optional<int> more = MoreForEighty(group)) {
        said += '\n';
        said += *more > 0 ? texts::Format(TextId::ClassMore, {std::to_string(*more)})
                          : std::string(texts::Text(TextId::ClassEnough));
    }
    return said;
}

int ClassSheet::LargestGroup() const {
    const auto largest = std::max_element(
        groups_.begin(), groups_.end(),
        [](const ClassGroup& a, const ClassGroup& b) { return a.experiments < b.experiments; });
    return largest == groups_.end() ? -1 : static_cast<int>(largest - groups_.begin());
}

std::vector<ClassSheet::TableRow> ClassSheet::Table(std::size_t group) const {
    const ClassGroup& shown = groups_.at(group);
    const auto percent = [](double share) {
        return PlainNumber(100 * share, 1, NumberStyle::Fixed);
    };
    std::vector<TableRow> rows;
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        const double share = shown.trials > 0 ? static_cast<double>(shown.pooled[c]) /
                                                    static_cast<double>(shown.trials)
                                              : 0.0;
        rows.push_back({odds_sheet::ArrivalLine(static_cast<int>(c) + kFirstColumn),
                        std::to_string(shown.pooled[c]), percent(share), percent(shown.exact[c])});
    }
    return rows;
}

void ClassSheet::Points::Add(const TrendRow& row, int line) {
    if (row.trials > 0) {
        x.push_back(static_cast<double>(row.trials));
        y.push_back(row.Percent(line));
    }
}

ClassSheet::Points ClassSheet::TrendOf(std::size_t group, int line) const {
    Points points;
    for (const TrendRow& row : Trend(group)) {
        points.Add(row, line);
    }
    return points;
}

ClassSheet::Axis ClassSheet::TrendAxis(const std::vector<Points>& curves) {
    double first = 0;
    double most = 1;
    for (const Points& curve : curves) {
        if (!curve.x.empty()) {
            first = first == 0 ? curve.x.front() : std::min(first, curve.x.front());
            most = std::max(most, curve.x.back());
        }
    }
    // Above the last: a class of exactly 1,000 trials has room to 10,000.
    const double high = std::pow(10.0, std::ceil(std::log10(most * 1.0001)));
    return {first == 0 ? 1 : first, high};
}

ClassSheet::Points ClassSheet::SpreadOf(std::size_t group, int line) const {
    Points points;
    for (const ExperimentResult& experiment : Members(group)) {
        points.Add(ClassTrend({experiment}).front(), line);
    }
    return points;
}

namespace {

ClassSheet::Band InPercent(const std::vector<ExperimentBands::Range>& ranges) {
    ClassSheet::Band band;
    for (const ExperimentBands::Range& range : ranges) {
        band.trials.push_back(range.trials);
        band.low.push_back(100 * range.low);
        band.high.push_back(100 * range.high);
    }
    return band;
}

}  // namespace

ClassSheet::Band ClassSheet::BandOf(std::size_t group, int line) const {
    return InPercent(Bands(group).Ended(line));
}

ClassSheet::Band ClassSheet::StoppedBandOf(std::size_t group, int line) const {
    return InPercent(Bands(group).Stopped(line));
}

bool ClassSheet::AnyStopped(std::size_t group) const {
    const std::vector<ExperimentResult>& members = Members(group);
    return std::any_of(members.begin(), members.end(),
                       [](const ExperimentResult& e) { return e.fullLine == 0; });
}

DistanceFromOdds ClassSheet::Distance(std::size_t group, int line) const {
    return MeanDistance(Members(group), groups_.at(group).exact, line);
}

std::string ClassSheet::DistanceSentence(std::size_t group, int line) const {
    const DistanceFromOdds distance = Distance(group, line);
    return texts::Format(TextId::ClassDistance,
                         {odds_sheet::ArrivalLine(line + 1),
                          PlainNumber(distance.oneExperiment, 1, NumberStyle::Fixed),
                          odds_sheet::Grouped(distance.trials),
                          PlainNumber(distance.wholeClass, 1, NumberStyle::Fixed)});
}

int ClassSheet::SpreadLine(const std::vector<int>& chosen) {
    return chosen.empty() ? kStartColumn - 1 : chosen.front();
}

std::vector<int> ClassSheet::FirstLines(std::size_t group) const {
    const ArrivalOdds& exact = groups_.at(group).exact;
    const int start = kStartColumn - 1;
    const int likeliest =
        static_cast<int>(std::max_element(exact.begin(), exact.end()) - exact.begin()) + 1;
    if (likeliest == start) {
        return {start};
    }
    return {std::min(start, likeliest), std::max(start, likeliest)};
}

const ExperimentBands& ClassSheet::Bands(std::size_t group) const {
    static std::map<int, ExperimentBands> worked;
    const ClassGroup& chosen = groups_.at(group);
    auto found = worked.find(chosen.rungs);
    if (found == worked.end()) {
        found = worked.try_emplace(chosen.rungs, chosen.exact).first;
    }
    return found->second;
}

std::string ClassSheet::BandNote() {
    return std::string(texts::Text(TextId::ClassBandNote));
}

std::string ClassSheet::TrendCsv() const {
    std::vector<int> rungs;
    for (const ClassGroup& group : groups_) {
        rungs.push_back(group.rungs);
    }
    return hashigoro::TrendCsv(rungs, members_);
}

std::string ClassSheet::Summary() const {
    const auto grouped = [](int n) { return odds_sheet::Grouped(static_cast<std::uint64_t>(n)); };
    std::string said = notice_;
    if (!said.empty()) {
        said += texts::Text(TextId::SentenceGap);
    }
    if (!files_.empty()) {
        std::string files;
        for (std::size_t i = 0; i < files_.size(); ++i) {
            if (i > 0) {
                files += texts::Text(TextId::ClassListSeparator);
            }
            files += texts::Format(TextId::ClassFile, {files_[i].name, files_[i].encoding});
        }
        said += texts::Format(TextId::ClassFilesRead, {files});
    }
    said += texts::Format(TextId::ClassRead, {grouped(experiments_)});
    if (rejectedCount_ > 0) {
        said += texts::Format(TextId::ClassRejectedSome, {grouped(rejectedCount_)});
        said +=
            rejectedCount_ > static_cast<int>(kMostRejectedShown)
                ? texts::Format(TextId::ClassRejectedFirst, {std::to_string(kMostRejectedShown)})
                : std::string(texts::Text(TextId::ClassRejectedEnd));
    }
    if (repeated_ > 0) {
        said += texts::Format(TextId::ClassRepeats, {std::to_string(repeated_)});
    }
    if (headers_ > 0) {
        said += texts::Format(TextId::ClassHeaders,
                              {std::to_string(headers_), LineNumbers(headerLines_)});
    }
    if (!perhaps_.empty()) {
        const std::string count = std::to_string(perhaps_.size());
        said += texts::Format(TextId::ClassPerhapsRepeated, {count, LineNumbers(perhaps_)});
        if (leaveOut_) {
            said += texts::Format(TextId::ClassLeftOut, {count});
        }
    }
    return said;
}

}  // namespace hashigoro
