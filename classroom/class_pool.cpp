#include "class_pool.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <tuple>

#include "chi_square.h"
#include "drawn_test.h"
#include "experiment_state.h"
#include "fairness_power.h"
#include "ladder_odds.h"
#include "plain_number.h"

namespace hashigoro {

namespace {

// Every arrival of a class drawn from the exact odds: each experiment run as the real one ran,
// to the first arrival in a full bar (counted too), or, for one that was stopped, to as many
// trials as it had unless an arrival in a full bar ends it first, as it would have ended the
// real one.
ArrivalCounts DrawClass(const std::vector<const ExperimentResult*>& real, const ColumnDraw& column,
                        DrawRandom& random) {
    ArrivalCounts arrivals{};
    for (const ExperimentResult* experiment : real) {
        const std::uint64_t trials =
            std::accumulate(experiment->counts.begin(), experiment->counts.end(), std::uint64_t{0});
        ArrivalCounts bars{};
        const bool ended = experiment->fullLine > 0;
        for (std::uint64_t drawn = 0; ended || drawn < trials; ++drawn) {
            const std::size_t c = column.Next(random);
            ++arrivals[c];
            if (bars[c]++ == static_cast<std::uint64_t>(kFullBar)) {
                break;
            }
        }
    }
    return arrivals;
}

}  // namespace

const ArrivalOdds& ExperimentOdds(int rungs) {
    // Worked out once: a class part pools a rung count at a time.
    static const std::vector<ArrivalOdds> table = ExactArrivalOdds(kStartColumn);
    return table.at(static_cast<std::size_t>(rungs));
}

std::vector<ClassGroup> PoolClass(const std::vector<ExperimentResult>& experiments, int draws) {
    std::map<int, std::vector<const ExperimentResult*>> byRungs;
    for (const ExperimentResult& experiment : experiments) {
        byRungs[experiment.rungs].push_back(&experiment);
    }
    std::vector<ClassGroup> groups;
    for (auto& [rungs, inGroup] : byRungs) {
        std::vector<const ExperimentResult*>& members = inGroup;  // a name lambdas can take
        // In one order whatever the order of the lines, so that the same class always gets the
        // same draws.
        std::sort(members.begin(), members.end(), [](const auto* a, const auto* b) {
            return std::tie(a->counts, a->fullLine) < std::tie(b->counts, b->fullLine);
        });
        ClassGroup group;
        group.rungs = rungs;
        group.experiments = static_cast<int>(members.size());
        group.exact = ExperimentOdds(rungs);
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
        const std::uint64_t all =
            std::accumulate(arrivals.begin(), arrivals.end(), std::uint64_t{0});
        if (all > kDrawnClassesUpTo) {
            group.odds = ChiSquareTest(arrivals, group.exact);
        } else {
            group.odds.statistic = OddsStatistic(arrivals, group.exact);
            group.odds.degreesOfFreedom = ReachableDegrees(group.exact);
            std::uint64_t seed = 1469598103934665603ULL;
            for (const ExperimentResult* experiment : members) {
                for (std::uint64_t value : experiment->counts) {
                    seed = (seed ^ value) * 1099511628211ULL;
                }
                seed = (seed ^ static_cast<std::uint64_t>(experiment->fullLine)) * 1099511628211ULL;
            }
            DrawRandom random(seed);
            const ColumnDraw column(group.exact);
            const DrawnP drawn = DrawnPValue(group.odds.statistic, draws, [&] {
                return OddsStatistic(DrawClass(members, column, random), group.exact);
            });
            group.odds.pValue = drawn.p;
            group.odds.below = drawn.below;
        }
        groups.push_back(group);
    }
    return groups;
}

std::optional<int> MoreForEighty(const ClassGroup& group) {
    if (CallsUnfair(group.fairness.pValue) || group.trials == 0) {
        return std::nullopt;
    }
    const auto needed = TrialsForPower(group.exact, 0.8);
    if (!needed) {
        return std::nullopt;
    }
    const double perExperiment =
        static_cast<double>(group.trials) / static_cast<double>(group.experiments);
    return std::max(0, static_cast<int>(std::ceil(
                           (static_cast<double>(*needed) - static_cast<double>(group.trials)) /
                           perExperiment)));
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
