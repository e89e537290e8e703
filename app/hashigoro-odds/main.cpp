// はしごろう＿理論値, the answer sheet: the exact arrival odds of the ladder lottery and
// simulations with the experiment's own logic, in a window or on the command line.

#include <QApplication>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "application_setup.h"
#include "arrival_simulation.h"
#include "chi_square.h"
#include "fixed_clock.h"
#include "ladder_odds.h"
#include "mixing_random_source.h"
#include "odds_command_line.h"
#include "odds_csv.h"
#include "odds_window.h"
#include "plain_number.h"

namespace {

constexpr const char* kUsage =
    "Usage: hashigoro-odds [--csv [--start C] | --simulate TRIALS --rungs N [--start C]]\n"
    "The exact arrival odds of the ladder lottery of hashigoro (10 lines, rungs among 225\n"
    "places, the marker starting at column C, 2 to 11; the experiment's is 4).\n"
    "  (no argument)        open the window (Qt's own options, such as -platform, go first)\n"
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
    std::string out = "column,observed,expected\n";
    for (std::size_t c = 0; c < odds.size(); ++c) {
        out += "col" + std::to_string(c + 2) + "," + std::to_string(simulation.Counts()[c]) + "," +
               PlainNumber(odds[c] * static_cast<double>(command.trials), 6, NumberStyle::Fixed) +
               "\n";
    }
    const ChiSquareResult test = ChiSquareTest(simulation.Counts(), odds);
    out += "chi-square " + PlainNumber(test.statistic, 4, NumberStyle::Fixed) + " with " +
           std::to_string(test.degreesOfFreedom) +
           " degrees of freedom, p = " + PlainNumber(test.pValue, 4) + "\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}

// Whether the arguments hold one of the options that Qt takes for itself (-platform, -style,
// -reverse, ...), written with one dash, as Qt writes them, and perhaps with "=value".
bool HasToolkitOption(const std::vector<std::string>& arguments) {
    static constexpr std::string_view kToolkitOptions[] = {"-platform",
                                                           "-platformpluginpath",
                                                           "-platformtheme",
                                                           "-plugin",
                                                           "-qwindowgeometry",
                                                           "-qwindowicon",
                                                           "-qwindowtitle",
                                                           "-reverse",
                                                           "-session",
                                                           "-display",
                                                           "-name",
                                                           "-title",
                                                           "-style",
                                                           "-stylesheet",
                                                           "-widgetcount",
                                                           "-geometry",
                                                           "-nograb",
                                                           "-dograb",
                                                           "-sync"};
    for (const std::string& argument : arguments) {
        const std::string_view name = std::string_view(argument).substr(0, argument.find('='));
        for (std::string_view option : kToolkitOptions) {
            if (name == option) {
                return true;
            }
        }
    }
    return false;
}

// Runs a command that needs no window; returns its exit status.
int RunWithoutWindow(const hashigoro::OddsCommand& command) {
    using hashigoro::OddsCommand;
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
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    using hashigoro::OddsCommand;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!HasToolkitOption(arguments)) {
        const OddsCommand command = hashigoro::ParseOddsCommandLine(arguments);
        if (command.mode != OddsCommand::Mode::Window) {
            return RunWithoutWindow(command);
        }
    }
    // Qt takes its own options out of the arguments; what is left is ours.
    QApplication app(argc, argv);
    std::vector<std::string> ours;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        ours.push_back(argument.toStdString());
    }
    const OddsCommand command = hashigoro::ParseOddsCommandLine(ours);
    if (command.mode != OddsCommand::Mode::Window) {
        return RunWithoutWindow(command);
    }
    hashigoro::SetUpApplication(app, {"hashigoro-odds", HASHIGORO_DESKTOP_FILE_NAME});
    app.setQuitOnLastWindowClosed(true);
    hashigoro::OddsWindow window;
    window.show();
    return QApplication::exec();
}
