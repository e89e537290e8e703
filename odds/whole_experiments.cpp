#include "whole_experiments.h"

#include <algorithm>
#include <cmath>

#include "experiment_state.h"
#include "fairness_test.h"

namespace hashigoro {

WholeExperiments::WholeExperiments(int rungs, int start, RandomSource& random, Clock& clock)
    : simulation_(rungs, start, random, clock) {}

void WholeExperiments::Run(int experiments) {
    for (int e = 0; e < experiments; ++e) {
        ArrivalCounts bars{};
        ArrivalCounts before = simulation_.Counts();
        int length = 0;
        for (;;) {
            simulation_.Run(1);
            ++length;
            const ArrivalCounts& after = simulation_.Counts();
            const auto column = static_cast<std::size_t>(
                std::mismatch(before.begin(), before.end(), after.begin()).first - before.begin());
            before = after;
            if (bars[column] == static_cast<std::uint64_t>(kFullBar)) {
                break;  // an arrival in a full bar ends the experiment
            }
            ++bars[column];
        }
        lengths_.push_back(length);
        detected_ += CallsUnfair(FairnessTest(bars).pValue);
    }
}

int Percentile(std::vector<int> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(std::clamp(std::ceil(share * static_cast<double>(values.size())),
                                            1.0, static_cast<double>(values.size())));
    return values[rank - 1];
}

}  // namespace hashigoro
