#include "results_file_log.h"

#include <cstdio>

#include "experiment_result.h"

namespace hashigoro {

void ResultsFileLog::Record(const FinishedExperiment& experiment) {
    if (!file_.Append(ResultLine(ResultOf(experiment)))) {
        std::fprintf(stderr, "hashigoro: could not add the experiment to %s\n",
                     file_.Path().c_str());
    }
}

}  // namespace hashigoro
