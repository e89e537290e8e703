#pragma once

#include <QWidget>

#include <vector>

class QChartView;
class QCheckBox;
class QLabel;

namespace hashigoro {

class ClassSheet;

// The class part's two charts of relative frequencies: how the class's settle on the
// theoretical probabilities as its trials add up (相対度数の推移), and each experiment against
// the whole class and the band in which 95 % of experiments of its length fall; the lines shown
// chosen with ten boxes; and the sentence that measures both. It draws a pooled ClassSheet.
class ClassTrendCharts final : public QWidget {
    Q_OBJECT

  public:
    explicit ClassTrendCharts(QWidget* parent = nullptr);

    // Draws group `group` of `sheet` (which must outlive the showing), its first lines chosen;
    // nothing for -1.
    void Show(const ClassSheet& sheet, int group);

    // The lines chosen now, 1..10 in rising order.
    std::vector<int> ChosenLines() const;
    void ChooseLines(const std::vector<int>& lines);
    QChartView* TrendView() const { return trend_; }
    QChartView* SpreadView() const { return spread_; }
    QString Sentence() const;

  private:
    void Redraw();
    void DrawTrend();
    void DrawSpread();

    const ClassSheet* sheet_ = nullptr;
    int group_ = -1;
    QCheckBox* lines_[10] = {};
    QChartView* trend_;
    QChartView* spread_;
    QLabel* sentence_;
};

}  // namespace hashigoro
