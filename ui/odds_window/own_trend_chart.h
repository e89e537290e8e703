#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "experiment_result.h"

class QChartView;
class QComboBox;

namespace hashigoro {

// This computer's own experiments, one at a time: the relative frequency of a chosen line (the
// start line at first) after each of its arrivals, beside that line's theoretical probability.
// Only the experiments whose results file lines keep the order of their arrivals are offered.
class OwnTrendChart final : public QWidget {
    Q_OBJECT

  public:
    explicit OwnTrendChart(QWidget* parent = nullptr);

    // Takes the experiments of a results file's text, the newest first; draws the newest.
    void Load(const std::string& kept);

    QComboBox* Experiments() const { return experiments_; }
    QComboBox* Line() const { return line_; }
    QChartView* View() const { return view_; }

  private:
    void Draw();

    std::vector<ExperimentResult> kept_;  // newest first
    QComboBox* experiments_;
    QComboBox* line_;
    QChartView* view_;
};

}  // namespace hashigoro
