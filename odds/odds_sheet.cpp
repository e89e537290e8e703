#include "odds_sheet.h"

#include <algorithm>

#include "catalogue.h"
#include "chi_square.h"
#include "drawn_test.h"
#include "experiment_state.h"
#include "fairness_test.h"
#include "ladder_odds.h"
#include "odds_sheet_text.h"
#include "rung_count_prompt.h"

namespace hashigoro {

namespace {

std::uint64_t Total(const ArrivalCounts& counts) {
    std::uint64_t total = 0;
    for (std::uint64_t count : counts) {
        total += count;
    }
    return total;
}

}  // namespace

OddsSheet::OddsSheet() : rungs_(kMaxRungs) {
    SetStart(kStartColumn);
}

void OddsSheet::SetStart(int column) {
    start_ = std::clamp<int>(column, kFirstColumn, kLastColumn);
    table_ = TableFrom(start_);
    // The curve over every rung count, and its lowest point, change only with the start line.
    distance_.clear();
    double least = 1;
    for (int k = 0; k <= kRungSlots; ++k) {
        const double d = DistanceFromFair(table_[static_cast<std::size_t>(k)]).totalVariation;
        distance_.push_back(100 * d);
        if (d < least) {
            least = d;
            fairest_ = k;
        }
    }
    WorkOutRow();
}

void OddsSheet::SetRungs(int rungs) {
    const int chosen = std::clamp(rungs, 0, kRungSlots);
    if (chosen != rungs_) {
        direction_ = chosen > rungs_ ? 1 : -1;
    }
    rungs_ = chosen;
    WorkOutRow();
}

void OddsSheet::WorkOutRow() {
    const ArrivalOdds& odds = table_[static_cast<std::size_t>(rungs_)];
    const std::vector<double>& exact = ExactPowersAt(Chosen());
    power_ = hashigoro::PowerCurve(odds, exact);
    eighty_ = TrialsForPower(odds, 0.8, exact);
}

const std::vector<ArrivalOdds>& OddsSheet::TableFrom(int start) {
    std::vector<ArrivalOdds>& table = tables_[static_cast<std::size_t>(start - kFirstColumn)];
    if (table.empty()) {
        table = ExactArrivalOdds(start);
    }
    return table;
}

bool OddsSheet::Known(Choice choice) const {
    return std::any_of(known_.begin(), known_.end(),
                       [&](const KnownPowers& k) { return k.choice == choice; });
}

const std::vector<double>& OddsSheet::ExactPowersAt(Choice choice) {
    const auto found = std::find_if(known_.begin(), known_.end(),
                                    [&](const KnownPowers& k) { return k.choice == choice; });
    if (found != known_.end()) {
        std::rotate(found, found + 1, known_.end());
        return known_.back().exact;
    }
    // The chosen one and its four neighbours are what a slider and a start line need at a
    // time; a few more (2 KB each) let a person go back and forth between choices.
    constexpr std::size_t kKept = 24;
    if (known_.size() == kKept) {
        known_.erase(known_.begin());
    }
    known_.push_back(
        {choice, ExactPowers(TableFrom(choice.start)[static_cast<std::size_t>(choice.rungs)])});
    return known_.back().exact;
}

bool OddsSheet::WorkAhead(bool startLines) {
    std::vector<Choice> ahead;
    for (const int step : {direction_, -direction_}) {
        if (rungs_ + step >= 0 && rungs_ + step <= kRungSlots) {
            ahead.push_back({rungs_ + step, start_});
        }
    }
    for (const int step : {1, -1}) {
        if (startLines && start_ + step >= kFirstColumn && start_ + step <= kLastColumn) {
            ahead.push_back({rungs_, start_ + step});
        }
    }
    for (const Choice choice : ahead) {
        if (!Known(choice)) {
            ExactPowersAt(choice);
            // The chosen one stays the most recent, so that it is the last to give way.
            ExactPowersAt(Chosen());
            return true;
        }
    }
    return false;
}

std::array<double, kArrivalColumns> OddsSheet::ExactPercents() const {
    std::array<double, kArrivalColumns> percents{};
    const ArrivalOdds& odds = table_[static_cast<std::size_t>(rungs_)];
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        percents[c] = 100 * odds[c];
    }
    return percents;
}

std::string OddsSheet::DistanceSentence() const {
    return odds_sheet::DistanceSentence(
        rungs_, DistanceFromFair(table_[static_cast<std::size_t>(rungs_)]), fairest_,
        DistanceFromFair(table_[static_cast<std::size_t>(fairest_)]));
}

std::string OddsSheet::PowerSentence() const {
    return odds_sheet::PowerSentence(rungs_, eighty_);
}

std::shared_ptr<ExperimentsRun> OddsSheet::ExperimentsToRun() {
    if (rungs_ < kMinRungs || rungs_ > kMaxRungs || Chosen() == experimentsDone_ ||
        Chosen() == experimentsHandedOut_) {
        return nullptr;
    }
    experimentsHandedOut_ = Chosen();
    return std::make_shared<ExperimentsRun>(rungs_, start_);
}

void OddsSheet::ExperimentsDone(const ExperimentsRun& run) {
    if (Choice{run.Rungs(), run.Start()} != Chosen()) {
        return;
    }
    const WholeExperiments& done = run.Done();
    experimentsDone_ = Chosen();
    experimentsSaid_ = {done.Experiments(), done.Detected(), Percentile(done.Lengths(), 0.5),
                        Percentile(done.Lengths(), 0.05), Percentile(done.Lengths(), 0.95)};
}

std::string OddsSheet::ExperimentsSentence() const {
    if (rungs_ < kMinRungs || rungs_ > kMaxRungs) {
        return odds_sheet::ExperimentsSentence(rungs_, 0, 0, 0, 0, 0);
    }
    if (Chosen() != experimentsDone_) {
        return std::string(texts::Text(TextId::Simulating));
    }
    const ExperimentsSaid& said = experimentsSaid_;
    return odds_sheet::ExperimentsSentence(rungs_, said.experiments, said.detected, said.median,
                                           said.low, said.high);
}

void OddsSheet::SimulationStarted(int rungs) {
    SetRungs(rungs);
    simulated_ = Chosen();
    simulatedOdds_ = table_[static_cast<std::size_t>(rungs_)];
    simulatedCounts_ = {};
    simulation_ = Simulation::Running;
}

void OddsSheet::SimulationFinished(const ArrivalCounts& counts, bool cancelled) {
    if (Total(counts) == 0) {
        simulated_ = {};
        simulation_ = Simulation::CancelledAtOnce;
        return;
    }
    simulatedCounts_ = counts;
    simulation_ = Simulation::Finished;
    simulationCancelled_ = cancelled;
    simulatedAgreement_ = OddsAgreement(counts, simulatedOdds_);
    simulatedFairness_ = FairnessTest(counts);
}

std::string OddsSheet::Verdict() const {
    switch (simulation_) {
        case Simulation::None:
            return {};
        case Simulation::Running:
            return std::string(texts::Text(TextId::Simulating));
        case Simulation::CancelledAtOnce:
            return std::string(texts::Text(TextId::Cancelled));
        case Simulation::Finished:
            break;
    }
    return odds_sheet::Verdict(simulationCancelled_, Total(simulatedCounts_), simulated_.rungs,
                               simulatedAgreement_, simulatedFairness_);
}

std::array<double, kArrivalColumns> OddsSheet::SimulatedPercents() const {
    std::array<double, kArrivalColumns> percents{};
    const std::uint64_t trials = Total(simulatedCounts_);
    if (simulated_ != Chosen() || trials == 0) {
        return percents;
    }
    for (std::size_t c = 0; c < kArrivalColumns; ++c) {
        percents[c] = 100 * static_cast<double>(simulatedCounts_[c]) / static_cast<double>(trials);
    }
    return percents;
}

}  // namespace hashigoro
