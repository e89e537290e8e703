#pragma once

#include <QString>
#include <QStringList>

class QBarSet;
class QChartView;
class QValueAxis;

namespace hashigoro {

// A chart of two sets of bars over the ten lines, in % (the first red, the second light red),
// with fair's 10 % as a dashed line: the answer sheet's odds and its class part share it.
struct FairBarsChart {
    QChartView* view = nullptr;
    QBarSet* first = nullptr;
    QBarSet* second = nullptr;
    QValueAxis* percent = nullptr;  // 0..40 until told otherwise
};

// `lines` are the ten categories' labels, `linesTitle` their axis's title (none when empty).
FairBarsChart MakeFairBarsChart(const QString& title, const QString& first, const QString& second,
                                const QStringList& lines, const QString& linesTitle = {});

}  // namespace hashigoro
