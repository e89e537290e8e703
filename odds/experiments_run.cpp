#include "experiments_run.h"

#include <algorithm>

#include "odds_sheet_text.h"

namespace hashigoro {

bool ExperimentsRun::Step(int experiments) {
    WholeExperiments& run = seeded_.simulation;
    run.Run(std::min(experiments, odds_sheet::kWholeExperiments - run.Experiments()));
    return run.Experiments() < odds_sheet::kWholeExperiments;
}

}  // namespace hashigoro
