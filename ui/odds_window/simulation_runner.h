#pragma once

#include <QObject>
#include <cstdint>

#include "arrivals.h"
#include "background_run.h"

namespace hashigoro {

// Runs a simulation of the experiment's own logic on a thread of its own, in short chunks, so
// that the window never waits for it; progress and the result come back as signals on the
// thread that owns the runner.
class SimulationRunner final : public QObject {
    Q_OBJECT

  public:
    explicit SimulationRunner(QObject* parent = nullptr);
    // A run under way ends first: its steps report to this object.
    ~SimulationRunner() override { run_.CancelAndWait(); }

    // Starts `trials` trials of ladders with `rungs` rungs (10..50) from column `start`, with
    // a generator seeded from the system's entropy. Ignored while a run is under way.
    void Start(int rungs, int start, std::uint64_t trials);
    // Asks the run to stop after its current chunk; `Finished` follows with what was counted.
    void Cancel() { run_.Cancel(); }
    bool IsRunning() const { return run_.IsRunning(); }

  signals:
    void Progress(std::uint64_t done, std::uint64_t trials);
    // Arrivals in columns 2..11 at index column - 2; `cancelled` when stopped early.
    void Finished(ArrivalCounts counts, bool cancelled);

  private:
    BackgroundRun run_;
};

}  // namespace hashigoro
