#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "class_pool.h"
#include "class_trend.h"
#include "experiment_band.h"
#include "experiment_result.h"

namespace hashigoro {

// The class part's sentences, for every front end; its captions are the catalogue's.
namespace class_sheet {
inline constexpr std::string_view kCsvFileName = "hashigoro-class.csv";
inline constexpr std::string_view kTrendCsvFileName = "hashigoro-trend.csv";
// "3 回の実験を追加しました。"
std::string OwnAdded(int added);
// The experiments that could not be kept in the results file, and why.
std::string OwnUnsaved(int count, const std::string& why);
// "class.csv を読めませんでした。"
std::string CannotRead(const std::string& name);
// "class.csv は大きすぎて読めません（…）。"
std::string TooLarge(const std::string& name);
}  // namespace class_sheet

// The answer sheet's class part as one model that both windows only draw: the result lines a
// class pasted, opened or added, read and pooled, and what the sheet says of them (UTF-8).
class ClassSheet {
  public:
    // The lines as a window's box holds them now (pasted, or typed), the files read so far
    // kept; then AddText adds more.
    void SetText(std::string text) { text_ = std::move(text); }
    void AddText(const std::string& text);
    // Adds a file's lines, in whatever encoding it was saved (DecodeText), which the summary
    // then names; false, and said, for a file larger than any class's (FitsAClass).
    bool AddFile(const std::string& name, std::string_view bytes);
    // Adds this device's own lines, only those not already there; how many were added.
    int AddOwn(const std::string& text);
    // The same for the lines a device keeps (`kept`), and those it could not keep (`unsaved`,
    // for `why`), and says so above every summary until more lines come: none yet, all there
    // already, or how many were added, and the lines that wait to be kept.
    void AddOwnLines(const std::string& kept, const std::string& unsaved = {},
                     const std::string& why = {});
    void Clear();
    const std::string& Text() const { return text_; }

    // Reads and pools everything added so far.
    void Pool();
    // The same in steps, for a front end that keeps its page running in between: StartPool
    // reads the lines (the summary and the rejected lines are then known), each PoolStep pools
    // one more rung count into Groups(); false when none is left.
    void StartPool();
    bool PoolStep();
    int GroupsLeft() const { return static_cast<int>(waiting_.size()); }

    // What the last pooling found.
    const std::vector<ClassGroup>& Groups() const { return groups_; }
    // The group a person wants to see first: the one with the most experiments (the first of
    // them on a tie); -1 when there is none.
    int LargestGroup() const;
    int Experiments() const { return experiments_; }
    // One sentence a line that could not be read: "3 行目：数がありません（……）", the first
    // kMostRejectedShown of them; RejectedCount() says how many there were.
    static constexpr std::size_t kMostRejectedShown = 100;
    std::vector<std::string> Rejected() const;
    int RejectedCount() const { return rejectedCount_; }
    // How many lines were the same experiment as an earlier one, and left out.
    int Repeated() const { return repeated_; }
    // Untagged stopped lines the same as an earlier one (perhaps pasted twice), counted unless
    // a person leaves them out.
    int PerhapsRepeated() const { return static_cast<int>(perhaps_.size()); }
    void LeaveOutPerhapsRepeated(bool leaveOut) { leaveOut_ = leaveOut; }
    bool LeavingOut() const { return leaveOut_; }
    // "横線 50 本：30 回の実験、3,210 回の試行"
    static std::string GroupTitle(const ClassGroup& group);
    // The judgements of a group, against fair and against the exact odds, and while fairness
    // is not yet doubted, how many more experiments the test needs.
    static std::string Verdicts(const ClassGroup& group);
    // The whole reading in a sentence: the files read and their encodings, how many
    // experiments, rejected lines, repeats left out and headers skipped.
    std::string Summary() const;
    std::string Csv() const { return ClassCsv(groups_); }

    // A group's table, a row a line: its name, count, relative frequency and theoretical
    // probability, as they are shown ("3本目", "419", "15.2", "15.0").
    struct TableRow {
        std::string line;
        std::string count;
        std::string share;
        std::string exact;
    };
    std::vector<TableRow> Table(std::size_t group) const;

    // A chart's numbers: x and y of each point.
    struct Points {
        std::vector<double> x;
        std::vector<double> y;

        // Adds `row`'s trials and line `line`'s relative frequency (%), unless it has no trials.
        void Add(const TrendRow& row, int line);
    };
    // The class's relative frequency (%) of line `line` (1..10) after each experiment, against
    // its trials so far; rows without trials left out.
    Points TrendOf(std::size_t group, int line) const;
    // The trials axis (logarithmic) of the curves shown: from their first point, where the data
    // begins, to the power of ten above their last; 1 to 10 with no point.
    struct Axis {
        double low = 1;
        double high = 10;
    };
    static Axis TrendAxis(const std::vector<Points>& curves);
    // Each experiment's relative frequency (%) of line `line` against its trials; experiments
    // without trials left out.
    Points SpreadOf(std::size_t group, int line) const;
    // The band of `line` in %, against the trials: x, the low edge in y, the high edge in high.
    struct Band {
        std::vector<double> trials;
        std::vector<double> low;
        std::vector<double> high;
    };
    // Where 95 % of whole experiments fall, or of experiments stopped by hand.
    Band BandOf(std::size_t group, int line) const;
    Band StoppedBandOf(std::size_t group, int line) const;
    // Whether any of a group's experiments was stopped by hand.
    bool AnyStopped(std::size_t group) const;

    // A group's experiments in the order read, its relative frequencies as they settle, and
    // how far they lie from the theoretical probabilities, for one experiment and pooled.
    const std::vector<ExperimentResult>& Members(std::size_t group) const {
        return members_.at(group);
    }
    std::vector<TrendRow> Trend(std::size_t group) const { return ClassTrend(Members(group)); }
    DistanceFromOdds Distance(std::size_t group, int line) const;
    // "3本目の相対度数は、1 回の実験では理論値から平均 5.4 ポイント…"
    std::string DistanceSentence(std::size_t group, int line) const;
    // The line the chart of the experiments against the class shows, and its sentence speaks
    // of: the first of those chosen, the start line where none is.
    static int SpreadLine(const std::vector<int>& chosen);
    // The lines a group's charts show at first: the start line, and the likeliest line.
    std::vector<int> FirstLines(std::size_t group) const;
    // Where one experiment's relative frequencies fall at the group's rung count if the ladder
    // is as its theoretical probabilities say (worked out once for each rung count, then kept).
    const ExperimentBands& Bands(std::size_t group) const;
    // What the band is: "灰色の帯は、…"
    static std::string BandNote();
    // Every group's trend, as CSV.
    std::string TrendCsv() const;

  private:
    std::string text_;
    std::vector<ClassGroup> groups_;
    std::vector<std::vector<ExperimentResult>> members_;  // each group's, in the order read
    // What was said of the last lines added (this device's, a file refused): said before the
    // summary until more lines are added or the box is cleared, so that no pooling covers it.
    std::string notice_;
    std::map<int, std::vector<ExperimentResult>> waiting_;  // by rung count, not yet pooled
    std::vector<RejectedLine> rejected_;
    struct ReadFile {
        std::string name;
        std::string encoding;  // "Shift_JIS"
    };
    std::vector<ReadFile> files_;
    int rejectedCount_ = 0;
    int experiments_ = 0;
    int repeated_ = 0;
    int headers_ = 0;
    std::vector<int> headerLines_;  // their line numbers
    std::vector<int> perhaps_;      // the lines perhaps pasted twice
    bool leaveOut_ = false;
};

}  // namespace hashigoro
