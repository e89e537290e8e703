#include "chart_accessible.h"

#include <QAccessibleWidget>
#include <QtCharts/QAbstractBarSeries>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QXYSeries>
#include <map>

#include "virtual_accessible.h"

namespace hashigoro {

namespace {

// A chart's numbers: the horizontal axis's title and values, and each series' value at each.
struct ChartTable {
    QStringList header;             // the axis, then each series
    std::vector<QStringList> rows;  // the axis's value, then each series' (empty where none)
};

QString Number(qreal value) {
    return QString::number(value, 'g', 6);
}

ChartTable TableOf(const QChart& chart) {
    ChartTable table;
    const QList<QAbstractAxis*> across = chart.axes(Qt::Horizontal);
    table.header << (across.isEmpty() ? QString() : across.front()->titleText());
    std::map<qreal, QStringList> byX;     // numbered rows, in order
    std::vector<QStringList> byCategory;  // a bar chart's rows, in its categories' order
    const auto add = [&](const QString& name, const QList<QPointF>& points) {
        table.header << name;
        for (const QPointF& point : points) {
            QStringList& row = byX[point.x()];
            while (row.size() < table.header.size() - 2) {
                row << QString();
            }
            row << Number(point.y());
        }
    };
    // A bar chart's bars first: its rows are its categories, and a line across it (the fair
    // 10 %) is a column beside the bars, by category.
    for (QAbstractSeries* series : chart.series()) {
        auto* bars = qobject_cast<QAbstractBarSeries*>(series);
        if (!bars) {
            continue;
        }
        auto* categories =
            across.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(across.front());
        for (QBarSet* set : bars->barSets()) {
            table.header << set->label();
            for (int i = 0; i < set->count(); ++i) {
                if (byCategory.size() <= static_cast<std::size_t>(i)) {
                    byCategory.push_back({categories && i < categories->count()
                                              ? categories->at(i)
                                              : QString::number(i + 1)});
                }
                byCategory[static_cast<std::size_t>(i)] << Number(set->at(i));
            }
        }
    }
    const auto addAcross = [&](const QString& name, const QList<QPointF>& points) {
        if (byCategory.empty()) {
            add(name, points);
            return;
        }
        table.header << name;
        for (std::size_t i = 0; i < byCategory.size(); ++i) {
            QString value;
            for (const QPointF& point : points) {
                // A level's ends stand half a bar outside; every bar between takes its height.
                if (point.x() >= static_cast<qreal>(i) - 0.5 || points.size() == 2) {
                    value = Number(point.y());
                }
            }
            byCategory[i] << value;
        }
    };
    for (QAbstractSeries* series : chart.series()) {
        if (auto* xy = qobject_cast<QXYSeries*>(series)) {
            addAcross(series->name(), xy->points());
        } else if (auto* area = qobject_cast<QAreaSeries*>(series)) {
            addAcross(series->name(), area->upperSeries()->points());
            if (area->lowerSeries()) {
                addAcross(series->name(), area->lowerSeries()->points());
            }
        }
    }
    table.rows = byCategory;
    for (auto& [x, row] : byX) {
        row.prepend(Number(x));
        table.rows.push_back(row);
    }
    for (QStringList& row : table.rows) {
        while (row.size() < table.header.size()) {
            row << QString();
        }
    }
    return table;
}

class ChartTableAccessible;

// One cell of the table, made when first asked for.
class CellAccessible final : public VirtualAccessible, public QAccessibleTableCellInterface {
  public:
    // `asParent` is `table` as the interface it is.
    CellAccessible(QAccessibleInterface* asParent, ChartTableAccessible* table, int row, int column)
        : VirtualAccessible(asParent), table_(table), row_(row), column_(column) {}

    QAccessible::Role role() const override {
        return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

  private:
    ChartTableAccessible* table_;
    int row_;  // -1: the header
    int column_;
};

// The chart view: a table of its numbers, named by the chart's title.
class ChartTableAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit ChartTableAccessible(QChartView* view) : QAccessibleWidget(view, QAccessible::Table) {
        view->setFocusPolicy(Qt::StrongFocus);
    }
    ~ChartTableAccessible() override {
        for (const auto& [place, id] : cells_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    ChartTable Numbers() const {
        const QChart* chart = static_cast<QChartView*>(widget())->chart();
        return chart ? TableOf(*chart) : ChartTable{};
    }
    QAccessibleInterface* Cell(int row, int column) const {
        if (column < 0 || column >= columnCount() || row < -1 || row >= rowCount()) {
            return nullptr;
        }
        auto& id = cells_[{row, column}];
        if (id == 0) {
            auto* self = const_cast<ChartTableAccessible*>(this);
            id = QAccessible::registerAccessibleInterface(
                new CellAccessible(self, self, row, column));
        }
        return QAccessible::accessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            const QChart* chart = static_cast<QChartView*>(widget())->chart();
            return chart ? chart->title() : QString();
        }
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    // The header row first, then the rows, cell by cell.
    int childCount() const override { return (rowCount() + 1) * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        return columns == 0 ? nullptr : Cell(index / columns - 1, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [place, id] : cells_) {
            if (QAccessible::accessibleInterface(id) == child) {
                return (place.first + 1) * columnCount() + place.second;
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override { return Cell(row, column); }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        const ChartTable numbers = Numbers();
        return column >= 0 && column < numbers.header.size() ? numbers.header[column] : QString();
    }
    QString rowDescription(int row) const override {
        const ChartTable numbers = Numbers();
        return row >= 0 && row < static_cast<int>(numbers.rows.size())
                   ? numbers.rows[static_cast<std::size_t>(row)].front()
                   : QString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return static_cast<int>(Numbers().header.size()); }
    int rowCount() const override { return static_cast<int>(Numbers().rows.size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

  private:
    mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

QAccessibleInterface* CellAccessible::table() const {
    return table_;
}

QString CellAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name) {
        return {};
    }
    const ChartTable numbers = table_->Numbers();
    if (row_ < 0) {
        return column_ < numbers.header.size() ? numbers.header[column_] : QString();
    }
    return row_ < static_cast<int>(numbers.rows.size()) &&
                   column_ < numbers.rows[static_cast<std::size_t>(row_)].size()
               ? numbers.rows[static_cast<std::size_t>(row_)][column_]
               : QString();
}

QRect CellAccessible::rect() const {
    return table_->rect();
}

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const {
    return row_ < 0 ? QList<QAccessibleInterface*>{} : QList{table_->Cell(-1, column_)};
}

QList<QAccessibleInterface*> CellAccessible::rowHeaderCells() const {
    return row_ < 0 || column_ == 0 ? QList<QAccessibleInterface*>{} : QList{table_->Cell(row_, 0)};
}

}  // namespace

QAccessibleInterface* ChartAccessible(const QString& className, QObject* object) {
    auto* view = qobject_cast<QChartView*>(object);
    return className == QLatin1String("QChartView") && view ? new ChartTableAccessible(view)
                                                            : nullptr;
}

}  // namespace hashigoro
