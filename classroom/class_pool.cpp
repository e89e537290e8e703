#include "class_pool.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "chi_square.h"
#include "experiment_state.h"
#include "fairness_power.h"
#include "ladder_odds.h"
#include "plain_number.h"

namespace hashigoro {

namespace {

// Pearson's X² of `counts` against `odds` over the lines the odds can reach; infinite for an
// arrival where none can be.
double OddsStatistic(const ArrivalCounts& counts, const ArrivalOdds& odds) {
    double trials = 0;
    for (std::uint64_t count : counts) {
        trials += static_cast<double>(count);
    }
    double statistic = 0;
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        const double expected = odds[c] * trials;
        const auto seen = static_cast<double>(counts[c]);
        if (expected > 0) {
            statistic += (seen - expected) * (seen - expected) / expected;
        } else if (seen > 0) {
            return HUGE_VAL;
        }
    }
    return statistic;
}

// Every arrival of a class drawn from `odds`: each experiment run as the real one ran, to the
// first arrival in a full bar (counted here too), or stopped after as many trials as it had.
ArrivalCounts DrawClass(const std::vector<const ExperimentResult*>& real,
                        std::discrete_distribution<std::size_t>& line, std::mt19937_64& random) {
    ArrivalCounts arrivals{};
    for (const ExperimentResult* experiment : real) {
        std::uint64_t trials = 0;
        for (std::uint64_t count : experiment->counts) {
            trials += count;
        }
        ArrivalCounts bars{};
        for (std::uint64_t drawn = 0; experiment->fullLine > 0 || drawn < trials;) {
            const std::size_t c = line(random);
            if (bars[c] == static_cast<std::uint64_t>(kFullBar)) {
                if (experiment->fullLine > 0) {
                    ++arrivals[c];
                    break;
                }
                continue;  // a stopped experiment never had an arrival in a full bar
            }
            ++bars[c];
            ++arrivals[c];
            ++drawn;
        }
    }
    return arrivals;
}

}  // namespace

std::vector<ClassGroup> PoolClass(const std::vector<ExperimentResult>& experiments, int draws) {
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
        if (group.trials <= kDrawnClassesUpTo) {
            group.odds.statistic = OddsStatistic(arrivals, group.exact);
            group.odds.degreesOfFreedom =
                static_cast<int>(std::count_if(group.exact.begin(), group.exact.end(),
                                               [](double p) { return p > 0; })) -
                1;
            // Seeded from the class's own experiments: the same lines always get the same p,
            // and every class gets draws of its own, as a test with fresh draws would.
            std::uint64_t seed = 1469598103934665603ULL;
            for (const ExperimentResult* experiment : members) {
                for (std::uint64_t value : experiment->counts) {
                    seed = (seed ^ value) * 1099511628211ULL;
                }
                seed = (seed ^ static_cast<std::uint64_t>(experiment->fullLine)) * 1099511628211ULL;
            }
            std::mt19937_64 random(seed);
            std::discrete_distribution<std::size_t> line(group.exact.begin(), group.exact.end());
            int asLarge = 0;
            for (int draw = 0; draw < draws; ++draw) {
                asLarge += OddsStatistic(DrawClass(members, line, random), group.exact) >=
                           group.odds.statistic;
            }
            group.odds.pValue = (1.0 + asLarge) / (1.0 + draws);
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
