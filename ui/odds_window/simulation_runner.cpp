#include "simulation_runner.h"

#include <algorithm>

#include "arrival_simulation.h"
#include "seeded.h"

namespace hashigoro {

namespace {

constexpr std::uint64_t kChunk = 5000;  // about 30 ms of trials at 50 rungs

}  // namespace

SimulationRunner::SimulationRunner(QObject* parent) : QObject(parent), run_(this) {
    qRegisterMetaType<ArrivalCounts>();
    qRegisterMetaType<std::uint64_t>();
}

void SimulationRunner::Start(int rungs, int start, std::uint64_t trials) {
    auto seeded = std::make_shared<Seeded<ArrivalSimulation>>(rungs, start);
    run_.Start(
        [this, seeded, trials] {
            ArrivalSimulation& simulation = seeded->simulation;
            simulation.Run(std::min(kChunk, trials - simulation.Trials()));
            emit Progress(simulation.Trials(), trials);
            return simulation.Trials() < trials;
        },
        [this, seeded](bool cancelled) { emit Finished(seeded->simulation.Counts(), cancelled); });
}

}  // namespace hashigoro
