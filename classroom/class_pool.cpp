#include "class_pool.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "chi_square.h"
#include "experiment_state.h"
#include "fairness_power.h"
#include "ladder_odds.h"
#include "plain_number.h"

namespace hashigoro {

std::vector<ClassGroup> PoolClass(const std::vector<ExperimentResult>& experiments) {
    std::map<int, std::vector<const ExperimentResult*>> byRungs;
    for (const ExperimentResult& experiment : experiments) {
        byRungs[experiment.rungs].push_back(&experiment);
    }
    const std::vector<ArrivalOdds> table = ExactArrivalOdds(kStartColumn);
    std::vector<ClassGroup> groups;
    for (const auto& [rungs, members] : byRungs) {
        ClassGroup group;
        group.rungs = rungs;
        group.experiments = static_cast<int>(members.size());
        group.exact = table.at(static_cast<std::size_t>(rungs));
        for (const ExperimentResult* experiment : members) {
            for (std::size_t c = 0; c < kArrivalColumns; ++c) {
                group.pooled[c] += experiment->counts[c];
                group.trials += experiment->counts[c];
            }
        }
        group.fairness = FairnessTest(group.pooled);
        // Every arrival of the class, the ones that found a bar full too: a run of independent
        // arrivals stopped by what it has seen, whose counts the chi-square test may judge.
        ArrivalCounts arrivals = group.pooled;
        for (const ExperimentResult* experiment : members) {
            if (experiment->fullLine > 0) {
                ++arrivals[static_cast<std::size_t>(experiment->fullLine - 1)];
            }
        }
        group.odds = ChiSquareTest(arrivals, group.exact);
        if (!CallsUnfair(group.fairness.pValue) && group.trials > 0) {
            const auto needed = TrialsForPower(group.exact, 0.8);
            if (needed) {
                const double perExperiment =
                    static_cast<double>(group.trials) / static_cast<double>(group.experiments);
                group.moreForEighty =
                    std::max(0, static_cast<int>(std::ceil((static_cast<double>(*needed) -
                                                            static_cast<double>(group.trials)) /
                                                           perExperiment)));
            }
        }
        groups.push_back(group);
    }
    return groups;
}

std::string ClassCsv(const std::vector<ClassGroup>& groups) {
    std::string csv = "rungs,experiments,trials,line,count,relative_frequency,exact_odds\n";
    for (const ClassGroup& group : groups) {
        for (std::size_t c = 0; c < kArrivalColumns; ++c) {
            const double share = group.trials > 0 ? static_cast<double>(group.pooled[c]) /
                                                        static_cast<double>(group.trials)
                                                  : 0.0;
            csv += std::to_string(group.rungs) + "," + std::to_string(group.experiments) + "," +
                   std::to_string(group.trials) + "," + std::to_string(c + 1) + "," +
                   std::to_string(group.pooled[c]) + "," +
                   PlainNumber(share, 6, NumberStyle::Fixed) + "," +
                   PlainNumber(group.exact[c], 6, NumberStyle::Fixed) + "\n";
        }
    }
    return csv;
}

}  // namespace hashigoro
