#pragma once

#include "seeded.h"
#include "whole_experiments.h"

namespace hashigoro {

// The whole experiments behind the answer sheet's second sentence, for one rung count and start
// line: run a few at a time on whatever thread the front end likes, and handed back to the
// sheet (OddsSheet::ExperimentsDone) when all are done.
class ExperimentsRun {
  public:
    // `rungs` 10..50, `start` 2..11.
    ExperimentsRun(int rungs, int start) : rungs_(rungs), start_(start), seeded_(rungs, start) {}

    // Runs up to `experiments` more; true while some of the sentence's 2,000 are left.
    bool Step(int experiments);

    int Rungs() const { return rungs_; }
    int Start() const { return start_; }
    const WholeExperiments& Done() const { return seeded_.simulation; }

  private:
    int rungs_;
    int start_;
    Seeded<WholeExperiments> seeded_;
};

}  // namespace hashigoro
