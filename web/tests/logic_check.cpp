// The experiment's own rung generation and descent, compiled to WebAssembly, against the exact
// odds: trials at a rung count and the chi-square test's verdict, printed for the test to read.
// Usage: node logic_check.js TRIALS RUNGS

#include <cstdio>
#include <cstdlib>

#include "arrival_simulation.h"
#include "chi_square.h"
#include "fixed_clock.h"
#include "ladder_odds.h"
#include "mixing_random_source.h"

int main(int argc, char* argv[]) {
    using namespace hashigoro;
    if (argc != 3) {
        std::fputs("usage: logic_check TRIALS RUNGS\n", stderr);
        return 2;
    }
    const auto trials = std::strtoull(argv[1], nullptr, 10);
    const int rungs = std::atoi(argv[2]);
    MixingRandomSource random = MixingRandomSource::FromEntropy();
    FixedClock clock;
    ArrivalSimulation simulation(rungs, kStartColumn, random, clock);
    simulation.Run(trials);
    const ChiSquareResult test =
        ChiSquareTest(simulation.Counts(), ExactArrivalOdds(kStartColumn)[rungs]);
    std::printf("trials %llu\n", static_cast<unsigned long long>(simulation.Trials()));
    for (std::uint64_t count : simulation.Counts()) {
        std::printf("%llu ", static_cast<unsigned long long>(count));
    }
    std::printf("\nchi-square %.4f df %d p %.6f\n", test.statistic, test.degreesOfFreedom,
                test.pValue);
    return 0;
}
