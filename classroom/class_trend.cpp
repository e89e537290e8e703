#include "class_trend.h"

#include <algorithm>
#include <cmath>

#include "plain_number.h"

namespace hashigoro {

namespace {

double PointsOff(const ArrivalCounts& counts, std::uint64_t trials, const ArrivalOdds& odds,
                 std::size_t c) {
    return 100 * std::abs(static_cast<double>(counts[c]) / static_cast<double>(trials) - odds[c]);
}

}  // namespace

double TrendRow::Percent(int line) const {
    return trials == 0 ? 0.0
                       : 100.0 * static_cast<double>(counts[static_cast<std::size_t>(line - 1)]) /
                             static_cast<double>(trials);
}

std::vector<TrendRow> ClassTrend(const std::vector<ExperimentResult>& inOrder) {
    std::vector<TrendRow> rows;
    rows.reserve(inOrder.size());
    TrendRow row;
    for (const ExperimentResult& experiment : inOrder) {
        ++row.experiments;
        for (std::size_t c = 0; c < kArrivalColumns; ++c) {
            row.counts[c] += experiment.counts[c];
            row.trials += experiment.counts[c];
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<double> ArrivalTrend(const std::vector<int>& order, int line) {
    std::vector<double> percents;
    percents.reserve(order.size());
    int inLine = 0;
    for (std::size_t n = 1; n <= order.size(); ++n) {
        inLine += order[n - 1] == line;
        percents.push_back(100.0 * inLine / static_cast<double>(n));
    }
    return percents;
}

std::string TrendCsv(const std::vector<int>& rungs,
                     const std::vector<std::vector<ExperimentResult>>& inOrder) {
    std::string csv;
    for (std::size_t g = 0; g < rungs.size() && g < inOrder.size(); ++g) {
        if (g > 0) {
            csv += '\n';
        }
        csv += "rungs,experiments,trials,1,2,3,4,5,6,7,8,9,10\n";
        for (const TrendRow& row : ClassTrend(inOrder[g])) {
            csv += std::to_string(rungs[g]) + ',' + std::to_string(row.experiments) + ',' +
                   std::to_string(row.trials);
            for (int line = 1; line <= 10; ++line) {
                csv += ',';
                csv += PlainNumber(row.Percent(line), 1, NumberStyle::Fixed);
            }
            csv += '\n';
        }
    }
    return csv;
}

DistanceFromOdds MeanDistance(const std::vector<ExperimentResult>& experiments,
                              const ArrivalOdds& odds, int line) {
    const auto c = static_cast<std::size_t>(line - 1);
    DistanceFromOdds distance;
    ArrivalCounts pooled{};
    double sum = 0;
    int counted = 0;
    for (const ExperimentResult& experiment : experiments) {
        std::uint64_t trials = 0;
        for (std::size_t c = 0; c < kArrivalColumns; ++c) {
            trials += experiment.counts[c];
            pooled[c] += experiment.counts[c];
        }
        if (trials > 0) {
            sum += PointsOff(experiment.counts, trials, odds, c);
            ++counted;
        }
        distance.trials += trials;
    }
    if (counted > 0) {
        distance.oneExperiment = sum / counted;
        distance.wholeClass = PointsOff(pooled, distance.trials, odds, c);
    }
    return distance;
}

LineColour ColourOfLine(int line) {
    // Told apart by most eyes, the colour-blind's too, but for the red of the start line.
    static constexpr LineColour kColours[10] = {
        {0, 114, 178},  {230, 159, 0}, {255, 0, 0}, {0, 158, 115}, {204, 121, 167},
        {86, 180, 233}, {120, 80, 40}, {0, 0, 0},   {128, 128, 0}, {106, 61, 154}};
    return kColours[static_cast<std::size_t>(std::clamp(line, 1, 10) - 1)];
}

}  // namespace hashigoro
