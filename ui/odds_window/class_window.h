#pragma once

#include <QString>
#include <QWidget>

#include "class_sheet.h"

class QBarSet;
class QChartView;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace hashigoro {

class ClassTrendCharts;
class OwnTrendChart;

// クラスの結果: a class's result lines, pasted, opened or dropped as files, or this computer's
// own finished experiments, pooled by rung count: the pooled counts and relative frequencies
// beside the exact odds, as a table and a chart with fair's 10 %, and both verdicts. It draws
// the class part's model, ClassSheet.
class ClassWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit ClassWindow(QWidget* parent = nullptr);

    // Adds lines to those in the box, then pools them all.
    void AddText(const QString& text);
    // Adds a file's lines, in whatever encoding it has; one that cannot be read is told.
    void AddFile(const QString& path);
    // Adds the lines of this computer's results file not already in the box, and those that
    // could not be kept in it, saying which.
    void AddOwnResults();
    void PoolAndShow();
    // Saves the pooled table; a failure is told in a message box, and the result is false.
    bool SaveCsv(const QString& path);
    // Saves the class's relative frequencies as they settled, likewise.
    bool SaveTrendCsv(const QString& path);

    QString Summary() const;
    QString VerdictText() const;
    QTableWidget* Table() const { return table_; }
    QComboBox* GroupChoice() const { return group_; }
    ClassTrendCharts* Trend() const { return trend_; }
    OwnTrendChart* Own() const { return own_; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Pools for `sliceMs` at the most, then goes on from the event loop while `pooling` is
    // still the latest; shows what it found once every rung count is pooled.
    void ContinuePooling(int pooling, int sliceMs);
    void ShowPooled();
    void ShowGroup(int index);
    void AskAndOpen();
    void AskAndSave(bool trend);
    bool Save(const QString& path, const std::string& csv);

    ClassSheet sheet_;
    int pooling_ = 0;  // the latest pooling's number
    QPlainTextEdit* lines_;
    QLabel* summary_;
    QLabel* rejected_;
    QPushButton* leaveOut_;  // leaves out, or counts again, the lines perhaps pasted twice
    QComboBox* group_;
    QTableWidget* table_;
    QChartView* chart_;
    QBarSet* shares_;
    QBarSet* exact_;
    QLabel* verdicts_;
    ClassTrendCharts* trend_;
    OwnTrendChart* own_;
};

}  // namespace hashigoro
