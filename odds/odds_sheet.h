#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "arrivals.h"
#include "drawn_test.h"
#include "experiments_run.h"
#include "fairness_power.h"
#include "fairness_test.h"

namespace hashigoro {

// The answer sheet as one model that every front end only draws: the chosen rung count and
// start line, the exact odds, the distance from fair, the power of the fairness test and the
// two sentences on how soon the bias shows, and the last simulation with its verdict. Its
// texts are UTF-8, made by odds_sheet_text in the current language when asked for.
class OddsSheet {
  public:
    // The experiment's own start line and 50 rungs.
    OddsSheet();

    // The start column, 2..11 (others are brought into range); the rung count stays.
    void SetStart(int column);
    // The rung count, 0..225 (others are brought into range); the start stays.
    void SetRungs(int rungs);
    int Start() const { return start_; }
    int Rungs() const { return rungs_; }

    // The exact odds for the chosen start, one row per rung count, and the chosen row in %.
    const std::vector<ArrivalOdds>& Table() const { return table_; }
    std::array<double, kArrivalColumns> ExactPercents() const;
    // The distance from fair in % over every rung count, and the rung count nearest to fair.
    const std::vector<double>& DistancePercents() const { return distance_; }
    int Fairest() const { return fairest_; }
    std::string DistanceSentence() const;

    // The power of the fairness test over the trials, and the trials from which on it stays
    // at 8 in 10 or more.
    const std::vector<PowerPoint>& PowerCurve() const { return power_; }
    std::optional<std::uint64_t> TrialsForEighty() const { return eighty_; }
    std::string PowerSentence() const;
    // Works out, before it is asked for, the power for a neighbouring choice: first the next
    // rung count in the direction of the last move, then the one behind, then the start lines
    // beside the chosen one (unless `startLines` is false), so that a slider or a start line
    // moved on by one finds its sums done. One choice a call; false when all are known already.
    bool WorkAhead(bool startLines = true);

    // The run of whole experiments that the sentence for the chosen rung count and start now
    // needs; null when it needs none (it is done, or already handed out, or the rung count is
    // not the experiment's). A run handed out before for another choice is of no more use.
    std::shared_ptr<ExperimentsRun> ExperimentsToRun();
    // A finished run: its sentence is kept if it is for the chosen rung count and start.
    void ExperimentsDone(const ExperimentsRun& run);
    std::string ExperimentsSentence() const;

    // A simulation at `rungs` (10..50) from the chosen start begins: the rung count is
    // chosen, and the run is judged against the odds it was run with.
    void SimulationStarted(int rungs);
    // It ended with `counts` (cancelled: before all its trials).
    void SimulationFinished(const ArrivalCounts& counts, bool cancelled);
    // In the current language, made anew at each call, so that it follows a change of language.
    std::string Verdict() const;
    // The simulated arrivals in %, beside the exact odds they were run with and only there.
    std::array<double, kArrivalColumns> SimulatedPercents() const;

  private:
    struct Choice {
        int rungs = -1;
        int start = -1;
        bool operator==(const Choice&) const = default;
    };
    Choice Chosen() const { return {rungs_, start_}; }
    void WorkOutRow();
    // The exact powers for the choice, from the few last worked out.
    const std::vector<double>& ExactPowersAt(Choice choice);
    bool Known(Choice choice) const;
    // The exact odds from `start` for every rung count, worked out once.
    const std::vector<ArrivalOdds>& TableFrom(int start);

    struct KnownPowers {
        Choice choice;
        std::vector<double> exact;
    };

    int start_ = 0;
    int rungs_ = 0;
    std::vector<ArrivalOdds> table_;
    std::array<std::vector<ArrivalOdds>, kArrivalColumns> tables_;  // by start line, once known
    std::vector<double> distance_;
    int fairest_ = 0;
    std::vector<PowerPoint> power_;
    std::optional<std::uint64_t> eighty_;
    int direction_ = -1;              // of the last move of the rung count: +1 or -1
    std::vector<KnownPowers> known_;  // the most recent last

    Choice experimentsHandedOut_;
    Choice experimentsDone_;
    // The numbers of the sentence on the finished run.
    struct ExperimentsSaid {
        int experiments = 0;
        int detected = 0;
        int median = 0;
        int low = 0;
        int high = 0;
    };
    ExperimentsSaid experimentsSaid_;

    Choice simulated_;
    ArrivalOdds simulatedOdds_{};
    ArrivalCounts simulatedCounts_{};
    enum class Simulation { None, Running, CancelledAtOnce, Finished };
    Simulation simulation_ = Simulation::None;
    bool simulationCancelled_ = false;
    ChiSquareResult simulatedAgreement_{};
    FairnessResult simulatedFairness_{};
};

}  // namespace hashigoro
