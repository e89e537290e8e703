#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "results_file.h"
#include "results_log.h"

namespace hashigoro {

// Records each finished experiment as its tagged result line in the user's results file, where
// the answer sheet's class part finds it. The writing runs on a thread of its own, so that a
// slow or stalled home folder never holds the window up. A line that cannot be written waits,
// with why, in the results file's unsaved lines (which the class window shows and adds), and is
// tried again when the program next starts, after each experiment and when it ends; the
// experiment goes on all the same.
class ResultsFileLog final : public ResultsLog {
  public:
    explicit ResultsFileLog(ResultsFile file);
    // Writes what is still waiting, then stops the thread.
    ~ResultsFileLog() override;

    void Record(const FinishedExperiment& experiment) override;

  private:
    void Write();

    ResultsFile file_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::string> queued_;  // lines recorded, not yet tried
    bool stopping_ = false;
    std::thread writer_;
};

}  // namespace hashigoro
