// はしごろう＿理論値, the companion program: the exact arrival odds of the ladder lottery and
// simulations with the experiment's own logic, in a window or on the command line.

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "application_setup.h"
#include "arrival_simulation.h"
#include "chi_square.h"
#include "fixed_clock.h"
#include "mixing_random_source.h"
#include "odds_command_line.h"
#include "odds_window.h"

namespace {

constexpr const char* kUsage =
    "Usage: hashigoro-odds [--csv [--start C] | --simulate TRIALS --rungs N [--start C]]\n"
    "The exact arrival odds of the ladder lottery of hashigoro (10 lines, rungs among 225\n"
    "places, the marker starting at column C, 2 to 11; the experiment's is 4).\n"
    "  (no argument)        open the window\n"
    "  --csv                the exact table: one row for every rung count from 0 to 225\n"
    "  --simulate TRIALS    run TRIALS trials (1 to 100000000) with the experiment's own logic\n"
    "  --rungs N            rungs per ladder for --simulate (10 to 50)\n"
    "  --start C            the start column (default 4)\n"
    "  --help, --version\n";

int Simulate(const hashigoro::OddsCommand& command) {
    using namespace hashigoro;
    MixingRandomSource random = MixingRandomSource::FromEntropy();
    FixedClock clock;
    ArrivalSimulation simulation(command.rungs, command.start, random, clock);
    simulation.Run(command.trials);
    const ArrivalOdds odds = ExactArrivalOdds(command.start)[command.rungs];
    std::printf("column,observed,expected\n");
    for (std::size_t c = 0; c < odds.size(); ++c) {
        std::printf("col%zu,%llu,%.6f\n", c + 2,
                    static_cast<unsigned long long>(simulation.Counts()[c]),
                    odds[c] * static_cast<double>(command.trials));
    }
    const ChiSquareResult test = ChiSquareTest(simulation.Counts(), odds);
    std::printf("chi-square %.4f with %d degrees of freedom, p = %.4g\n", test.statistic,
                test.degreesOfFreedom, test.pValue);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    using hashigoro::OddsCommand;
    const OddsCommand command =
        hashigoro::ParseOddsCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.mode) {
        case OddsCommand::Mode::Error:
            std::fprintf(stderr, "hashigoro-odds: %s\n", command.error.c_str());
            return 2;
        case OddsCommand::Mode::Help:
            std::fputs(kUsage, stdout);
            return 0;
        case OddsCommand::Mode::Version:
            std::printf("hashigoro-odds %s\n", HASHIGORO_VERSION);
            return 0;
        case OddsCommand::Mode::Csv:
            std::fputs(hashigoro::OddsCsv(hashigoro::ExactArrivalOdds(command.start)).c_str(),
                       stdout);
            return 0;
        case OddsCommand::Mode::Simulate:
            return Simulate(command);
        case OddsCommand::Mode::Window:
            break;
    }
    QApplication app(argc, argv);
    hashigoro::SetUpApplication(app);
    app.setQuitOnLastWindowClosed(true);
    hashigoro::OddsWindow window;
    window.show();
    return QApplication::exec();
}
