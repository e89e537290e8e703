#include "simulation_runner.h"

#include <algorithm>

#include "arrival_simulation.h"
#include "fixed_clock.h"
#include "mixing_random_source.h"

namespace hashigoro {

namespace {

constexpr std::uint64_t kChunk = 5000;  // about 30 ms of trials at 50 rungs

}  // namespace

SimulationRunner::SimulationRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<ArrivalCounts>();
    qRegisterMetaType<std::uint64_t>();
}

SimulationRunner::~SimulationRunner() {
    cancel_ = true;
    if (thread_) {
        thread_->wait();
    }
}

void SimulationRunner::Start(int rungs, int start, std::uint64_t trials) {
    if (thread_) {
        return;
    }
    cancel_ = false;
    thread_.reset(QThread::create([this, rungs, start, trials] {
        MixingRandomSource random = MixingRandomSource::FromEntropy();
        FixedClock clock;
        ArrivalSimulation simulation(rungs, start, random, clock);
        while (simulation.Trials() < trials && !cancel_) {
            simulation.Run(std::min(kChunk, trials - simulation.Trials()));
            emit Progress(simulation.Trials(), trials);
        }
        const auto counts = simulation.Counts();
        const bool cancelled = simulation.Trials() < trials;
        // Delivered on the runner's own thread, after this thread is done.
        QMetaObject::invokeMethod(this, [this, counts, cancelled] {
            thread_->wait();
            thread_.reset();
            emit Finished(counts, cancelled);
        });
    }));
    thread_->start();
}

void SimulationRunner::Cancel() {
    cancel_ = true;
}

}  // namespace hashigoro
