// はしごろう＿理論値, the answer sheet: the exact arrival odds of the ladder lottery and
// simulations with the experiment's own logic, in a window or on the command line.

#include <sys/stat.h>
#include <QAccessible>
#include <QApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "application_setup.h"
#include "arrival_simulation.h"
#include "chart_accessible.h"
#include "class_pool.h"
#include "class_trend.h"
#include "experiment_result.h"
#include "fairness_power.h"
#include "ladder_odds.h"
#include "odds_command_line.h"
#include "odds_csv.h"
#include "odds_window.h"
#include "plain_number.h"
#include "seeded.h"
#include "text_encoding.h"
#include "whole_experiments.h"

namespace {

constexpr const char* kUsage =
    "Usage: hashigoro-odds [--csv | --simulate TRIALS | --power | --experiments K | --band]\n"
    "                      [--rungs N] [--line L]\n"
    "       hashigoro-odds --class FILE [--trend] [--leave-out-alike]\n"
    "The theoretical arrival probabilities of the ladder lottery of hashigoro (10 lines, rungs\n"
    "among 225 places, the marker starting at line L, 1 to 10; the experiment's is 3).\n"
    "  (no argument)        open the window (Qt's own options, such as -platform, go first)\n"
    "  --csv                the exact table: one row for every rung count from 0 to 225\n"
    "  --simulate TRIALS    run TRIALS trials (1 to 100000000) with the experiment's own logic\n"
    "                       and judge the counts against the exact odds and against fair\n"
    "  --power              the trials from which on the fairness test at 5 % calls the\n"
    "                       ladder unfair with a chance of 50, 80 and 95 % or more (\"about\"\n"
    "                       where the power is approximated, beyond its exact sums)\n"
    "  --experiments K      run K whole experiments (1 to 1000000) as the program runs them,\n"
    "                       until an arrival finds its bar of 20 full, and test each for\n"
    "                       fairness at 5 %\n"
    "  --band               where 95 % of the experiments (from line 3) fall in line L, at\n"
    "                       each number of trials, as CSV in %: whole experiments (ended\n"
    "                       by a full bar) and experiments stopped by hand, worked out\n"
    "                       exactly; --line L here is that line (default 3)\n"
    "  --class FILE         a class's result lines (FILE, or - for standard input, 32 MB and\n"
    "                       200000 lines at the most), one\n"
    "                       experiment a line, pooled by rung count and judged against fair\n"
    "                       and against the exact odds; lines that are no experiment go to\n"
    "                       standard error with their numbers and reasons\n"
    "  --trend              with --class: for each rung count, a CSV block of the class's\n"
    "                       relative frequencies (%) of lines 1 to 10 after each experiment,\n"
    "                       in the order read, with the experiments and trials so far\n"
    "  --leave-out-alike    with --class: leave out the untagged stopped lines that are the\n"
    "                       same as an earlier one (perhaps pasted twice; counted otherwise)\n"
    "  --rungs N            rungs per ladder: 10 to 50 (the experiment's), 0 to 225 for --power\n"
    "  --line L             the start line, 1 to 10 from the left (default 3)\n"
    "  --start C            the start line as older scripts give it: its column, 2 to 11\n"
    "                       (line L is column L + 1; default 4)\n"
    "  --help, --version\n";

int Simulate(const hashigoro::OddsCommand& command) {
    using namespace hashigoro;
    Seeded<ArrivalSimulation> seeded(command.rungs, command.start);
    ArrivalSimulation& simulation = seeded.simulation;
    simulation.Run(command.trials);
    const ArrivalOdds odds = ExactArrivalOdds(command.start)[command.rungs];
    std::string out = "column,observed,expected\n";
    for (std::size_t c = 0; c < odds.size(); ++c) {
        out += "col" + std::to_string(c + 2) + "," + std::to_string(simulation.Counts()[c]) + "," +
               PlainNumber(odds[c] * static_cast<double>(command.trials), 6, NumberStyle::Fixed) +
               "\n";
    }
    out += JudgementLines(simulation.Counts(), odds);
    std::fputs(out.c_str(), stdout);
    return 0;
}

int Power(const hashigoro::OddsCommand& command) {
    using namespace hashigoro;
    const ArrivalOdds odds = ExactArrivalOdds(command.start)[command.rungs];
    std::string out = "rungs " + std::to_string(command.rungs) + ", start line " +
                      std::to_string(command.start - 1) + ": total variation from fair " +
                      PlainNumber(DistanceFromFair(odds).totalVariation, 4, NumberStyle::Fixed) +
                      "\n";
    // Exact up to the trials worked out exactly; beyond, the approximation says so.
    const std::vector<double> exact = ExactPowers(odds);
    for (int percent : {50, 80, 95}) {
        const auto trials = TrialsForPower(odds, percent / 100.0, exact);
        const bool approximated = trials && *trials >= exact.size();
        // Appended piece by piece: a literal joined to a temporary string draws a false
        // -Wrestrict from GCC 12 with optimisation.
        out += "power ";
        out += std::to_string(percent);
        out += " %: ";
        if (!trials) {
            out += "more than 1000000000 trials\n";
            continue;
        }
        if (approximated) {
            out += "about ";
        }
        out += std::to_string(*trials);
        out += " trials";
        if (approximated) {
            out += " (approximated beyond the ";
            out += std::to_string(exact.size() - 1);
            out += " trials worked out exactly)";
        }
        out += '\n';
    }
    std::fputs(out.c_str(), stdout);
    return 0;
}

int Experiments(const hashigoro::OddsCommand& command) {
    using namespace hashigoro;
    Seeded<WholeExperiments> seeded(command.rungs, command.start);
    WholeExperiments& experiments = seeded.simulation;
    experiments.Run(command.experiments);
    const double share = 100.0 * experiments.Detected() / experiments.Experiments();
    const std::string out =
        std::to_string(experiments.Experiments()) + " experiments of " +
        std::to_string(command.rungs) + " rungs from line " + std::to_string(command.start - 1) +
        ": the bias was detected in " + PlainNumber(share, 1, NumberStyle::Fixed) +
        " % of them\ntrials per experiment: median " +
        std::to_string(Percentile(experiments.Lengths(), 0.5)) + ", 5-95 % range " +
        std::to_string(Percentile(experiments.Lengths(), 0.05)) + " to " +
        std::to_string(Percentile(experiments.Lengths(), 0.95)) + "\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}

// A line as the terminal may show it: control characters (escape sequences, a NUL) written
// as \xNN, so that a line can neither cut the report short nor steer the terminal.
std::string Printable(const std::string& line) {
    std::string shown;
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

// Status 2 for a file that cannot be read, 1 when no experiment is in it.
int PoolClassFile(const hashigoro::OddsCommand& command) {
    using namespace hashigoro;
    const std::string& name = command.classFile;
    struct stat status {};
    if (name != "-" && ::stat(name.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fprintf(stderr, "hashigoro-odds: %s is a folder, not a file of result lines\n",
                     Printable(name).c_str());
        return 2;
    }
    std::FILE* in = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (!in) {
        std::fprintf(stderr, "hashigoro-odds: cannot read %s: %s\n", Printable(name).c_str(),
                     std::strerror(errno));
        return 2;
    }
    // No more than a class can have, and one byte more to tell: an endless pipe or /dev/zero is
    // read no further.
    std::string bytes;
    char buffer[65536];
    for (std::size_t got;
         bytes.size() <= kMostClassBytes && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
        bytes.append(buffer, got);
    }
    const bool failed = std::ferror(in) != 0;
    if (in != stdin) {
        std::fclose(in);
    }
    if (failed) {
        std::fprintf(stderr, "hashigoro-odds: cannot read %s\n", Printable(name).c_str());
        return 2;
    }
    if (!FitsAClass(bytes)) {
        std::fprintf(stderr,
                     "hashigoro-odds: %s is larger than a class's result lines can be (%zu MB or "
                     "%zu lines at the most)\n",
                     Printable(name).c_str(), kMostClassBytes >> 20, kMostClassLines);
        return 2;
    }
    const DecodedText text = DecodeText(bytes);
    const ReadResults read = ReadResultLines(text.utf8);
    std::string errors;
    for (const RejectedLine& rejected : read.rejected) {
        errors += "line ";
        errors += std::to_string(rejected.line);
        errors += ": ";
        errors += ReasonWords(rejected.reason);
        if (rejected.other > 0) {
            errors += " (line ";
            errors += std::to_string(rejected.other);
            errors += ')';
        }
        errors += ": ";
        errors += Printable(rejected.text);
        errors += '\n';
    }
    std::vector<ExperimentResult> experiments;
    for (const ReadExperiment& experiment : read.experiments) {
        if (!experiment.repeated && !(command.leaveOutAlike && experiment.perhapsRepeated)) {
            experiments.push_back(experiment.result);
        }
    }
    if (const std::vector<int> alike = read.PerhapsRepeated(); !alike.empty()) {
        errors += std::to_string(alike.size());
        errors += alike.size() == 1
                      ? " untagged stopped line is the same as an earlier one, perhaps pasted "
                        "twice (line"
                      : " untagged stopped lines are the same as an earlier one, perhaps pasted "
                        "twice (lines";
        // Appended piece by piece, as in Power().
        for (int number : alike) {
            errors += ' ';
            errors += std::to_string(number);
        }
        errors += command.leaveOutAlike ? "), left out\n"
                                        : "), counted; --leave-out-alike leaves them out\n";
    }
    if (read.Repeats() > 0) {
        errors += std::to_string(read.Repeats());
        errors += read.Repeats() == 1
                      ? " line repeats an experiment already read and was left out\n"
                      : " lines repeat an experiment already read and were left out\n";
    }
    if (experiments.empty()) {
        errors += "hashigoro-odds: no experiments in " + Printable(name) +
                  (bytes.empty() ? " (it is empty)" : " (read as " + text.encoding + ")") + "\n";
    }
    std::fwrite(errors.data(), 1, errors.size(), stderr);
    if (command.trend) {
        std::map<int, std::vector<ExperimentResult>> byRungs;
        for (const ExperimentResult& experiment : experiments) {
            byRungs[experiment.rungs].push_back(experiment);
        }
        std::vector<int> rungs;
        std::vector<std::vector<ExperimentResult>> inOrder;
        for (auto& [count, group] : byRungs) {
            rungs.push_back(count);
            inOrder.push_back(std::move(group));
        }
        const std::string csv = TrendCsv(rungs, inOrder);
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return experiments.empty() ? 1 : 0;
    }
    const std::string report = ClassReport(PoolClass(experiments));
    std::fwrite(report.data(), 1, report.size(), stdout);
    return experiments.empty() ? 1 : 0;
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
        case OddsCommand::Mode::Power:
            return Power(command);
        case OddsCommand::Mode::Experiments:
            return Experiments(command);
        case OddsCommand::Mode::Band:
            std::fputs(
                hashigoro::BandCsv(hashigoro::ExactArrivalOdds(
                                       command.start)[static_cast<std::size_t>(command.rungs)],
                                   command.bandLine)
                    .c_str(),
                stdout);
            return 0;
        case OddsCommand::Mode::Class:
            return PoolClassFile(command);
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
    QAccessible::installFactory(hashigoro::ChartAccessible);
    app.setQuitOnLastWindowClosed(true);
    hashigoro::OddsWindow window;
    window.show();
    return QApplication::exec();
}
