#include "results_file_log.h"

#include <cstdio>

#include "experiment_result.h"

namespace hashigoro {

void ResultsFileLog::Record(const FinishedExperiment& experiment) {
    ExperimentResult result{experiment.rungs, {}, experiment.fullLine};
    for (std::size_t line = 0; line < kArrivalColumns; ++line) {
        result.counts[line] = static_cast<std::uint64_t>(experiment.tallies[line]);
    }
    if (!file_.Append(ResultLine(result))) {
        std::fprintf(stderr, "hashigoro: could not add the experiment to %s\n",
                     file_.Path().c_str());
    }
}

}  // namespace hashigoro
