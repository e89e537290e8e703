#pragma once

#include <emscripten/val.h>

#include <functional>
#include <optional>
#include <string>

#include "experiment_result.h"
#include "results_log.h"

namespace hashigoro::web {

// The page's finished experiments: the last one's result line shown beside the window (never
// inside it) with a button that copies it, and every one kept in the browser's storage, by the
// same rule as the desktop's results file, for the answer sheet's class part.
class PageResults final : public ResultsLog {
  public:
    // `shown` is called when the line first appears, so that the window can make room for it.
    PageResults(emscripten::val parent, std::function<void()> shown);

    void Record(const FinishedExperiment& experiment) override;
    void Stopped(const FinishedExperiment& sofar) override;
    void Arrived(const FinishedExperiment& sofar) override;

    // Who follows the experiment as it goes (the answer sheet), told after each square.
    void Follow(std::function<void(const FinishedExperiment&)> follower) {
        follower_ = std::move(follower);
    }
    // The experiment as it stood at its last square.
    const FinishedExperiment& Sofar() const { return sofar_; }

    // Takes the last recorded line back out of the device's storage (the page it was recorded
    // for on leaving came back).
    void TakeBackLast();

    // Every result line kept on this device, one a line (nothing where storage is refused).
    static std::string Kept();

    // Says the line shown again in the language spoken now, and forgets what was said of a copy.
    void Retext();

    // Handles a click on the copy button; false for any other.
    bool Handle(const std::string& clicked);

  private:
    void Show(const std::string& line);

    std::optional<ExperimentResult> shownResult_;  // the line shown, as a result
    std::string lastKept_;
    emscripten::val box_;
    std::function<void()> shown_;
    std::function<void(const FinishedExperiment&)> follower_;
    FinishedExperiment sofar_;
};

}  // namespace hashigoro::web
