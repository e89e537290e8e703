#pragma once

#include "results_file.h"
#include "results_log.h"

namespace hashigoro {

// Records each finished experiment as its result line in the user's results file, where the
// answer sheet's class part finds it. A write that cannot be done is told on standard error;
// the experiment goes on all the same.
class ResultsFileLog final : public ResultsLog {
  public:
    explicit ResultsFileLog(ResultsFile file) : file_(std::move(file)) {}

    void Record(const FinishedExperiment& experiment) override;

  private:
    ResultsFile file_;
};

}  // namespace hashigoro
