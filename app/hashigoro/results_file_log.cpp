#include "results_file_log.h"

#include <cstdio>
#include <sstream>

#include "experiment_result.h"

namespace hashigoro {

ResultsFileLog::ResultsFileLog(ResultsFile file)
    : file_(std::move(file)), writer_([this] { Write(); }) {}

ResultsFileLog::~ResultsFileLog() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    writer_.join();
}

void ResultsFileLog::Record(const FinishedExperiment& experiment) {
    {
        const std::lock_guard lock(mutex_);
        queued_.push_back(KeptLine(TaggedResultOf(experiment)));
    }
    wake_.notify_one();
}

void ResultsFileLog::Write() {
    // What waits from an earlier run, or an earlier try, goes first.
    std::vector<std::string> waiting;
    std::istringstream unsaved(file_.ReadUnsaved());
    for (std::string line; std::getline(unsaved, line);) {
        waiting.push_back(line);
    }
    std::unique_lock lock(mutex_);
    // Lines that wait from an earlier run are tried at once, then after each experiment, and
    // once more when the program ends.
    for (bool starting = true;; starting = false) {
        if (!starting || waiting.empty()) {
            wake_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
        }
        waiting.insert(waiting.end(), queued_.begin(), queued_.end());
        queued_.clear();
        const bool last = stopping_;
        if (!waiting.empty()) {
            lock.unlock();
            std::string lines;
            for (const std::string& line : waiting) {
                lines += line + '\n';
            }
            const int error = file_.Append(lines);
            if (error == 0) {
                waiting.clear();
                file_.KeepUnsaved({}, {});
            } else if (!file_.KeepUnsaved(ResultsFile::Why(error), waiting)) {
                std::fprintf(stderr, "hashigoro: could not keep %zu experiments anywhere\n",
                             waiting.size());
            }
            lock.lock();
        }
        if (last) {
            return;
        }
    }
}

}  // namespace hashigoro
