#include "odds_command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <utility>

#include "chi_square.h"
#include "drawn_test.h"
#include "experiment_band.h"
#include "fairness_test.h"
#include "ladder_odds.h"
#include "plain_number.h"
#include "rung_count_prompt.h"

namespace hashigoro {

namespace {

constexpr std::uint64_t kMostTrials = 100'000'000;
constexpr std::uint64_t kMostExperiments = 1'000'000;

// A whole number in minimum..maximum written in plain digits, or an error naming `option`.
bool ReadNumber(const std::string& option, const std::string& text, std::uint64_t minimum,
                std::uint64_t maximum, std::uint64_t& value, std::string& error) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (text.empty() || failure != std::errc() || stop != end) {
        error = option + " takes a whole number, not \"" + text + "\"";
        return false;
    }
    if (value < minimum || value > maximum) {
        error = option + " " + text + " is out of range (" + std::to_string(minimum) + " to " +
                std::to_string(maximum) + ")";
        return false;
    }
    return true;
}

// One judgement as the command line prints it: "NAME: chi-square X with D degrees of freedom,
// p = P", or "p < P" where P is only a bound.
std::string TestLine(const char* name, double statistic, int degrees, const char* how, double p,
                     bool below = false) {
    return std::string(name) + ": chi-square " + PlainNumber(statistic, 4, NumberStyle::Fixed) +
           " with " + std::to_string(degrees) + " degrees of freedom" + how +
           (below ? ", p < " : ", p = ") + PlainNumber(p, 4) + "\n";
}

}  // namespace

OddsCommand ParseOddsCommandLine(const std::vector<std::string>& arguments) {
    OddsCommand command;
    // What is asked for, in this order of precedence for the messages.
    struct Seen {
        const char* option;
        bool given = false;
    };
    Seen csv{"--csv"}, simulate{"--simulate"}, power{"--power"}, experiments{"--experiments"},
        band{"--band"};
    Seen start{"--start"}, line{"--line"}, rungs{"--rungs"}, pooled{"--class"}, trend{"--trend"},
        alike{"--leave-out-alike"};
    Seen* const modes[] = {&csv, &simulate, &power, &experiments, &band, &pooled};
    const auto fail = [&command](std::string message) {
        command.mode = OddsCommand::Mode::Error;
        command.error = std::move(message);
        return command;
    };
    // The power is worked out for any rung count; the experiment runs with 10 to 50 rungs.
    const bool anyRungs =
        std::find(arguments.begin(), arguments.end(), "--power") != arguments.end();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            command.mode = OddsCommand::Mode::Help;
            return command;
        }
        if (option == "--version") {
            command.mode = OddsCommand::Mode::Version;
            return command;
        }
        Seen* seen = nullptr;
        for (Seen* known : {&csv, &simulate, &power, &experiments, &band, &start, &line, &rungs,
                            &pooled, &trend, &alike}) {
            seen = option == known->option ? known : seen;
        }
        if (!seen) {
            return fail("unknown argument \"" + option + "\" (see --help)");
        }
        if (seen->given) {
            return fail(option + " is given twice");
        }
        seen->given = true;
        if (seen == &csv || seen == &power || seen == &band || seen == &trend || seen == &alike) {
            continue;
        }
        if (i + 1 == arguments.size()) {
            return fail(option + " needs a value");
        }
        const std::string& text = arguments[++i];
        if (seen == &pooled) {
            command.classFile = text;
            continue;
        }
        std::uint64_t minimum = 1;
        std::uint64_t maximum = seen == &experiments ? kMostExperiments : kMostTrials;
        if (seen == &start) {
            minimum = kFirstColumn;
            maximum = kLastColumn;
        } else if (seen == &line) {
            minimum = 1;
            maximum = kLastColumn - kFirstColumn + 1;
        } else if (seen == &rungs) {
            minimum = anyRungs ? 0 : kMinRungs;
            maximum = anyRungs ? kRungSlots : kMaxRungs;
        }
        std::uint64_t value = 0;
        std::string error;
        if (!ReadNumber(option, text, minimum, maximum, value, error)) {
            return fail(error);
        }
        if (seen == &start) {
            command.start = static_cast<int>(value);
        } else if (seen == &line) {
            command.start = static_cast<int>(value) + kFirstColumn - 1;
        } else if (seen == &rungs) {
            command.rungs = static_cast<int>(value);
        } else if (seen == &experiments) {
            command.experiments = static_cast<int>(value);
        } else {
            command.trials = value;
        }
    }
    const Seen* chosen = nullptr;
    for (const Seen* mode : modes) {
        if (mode->given && chosen) {
            return fail(std::string(chosen->option) + " and " + mode->option +
                        " cannot be combined");
        }
        chosen = mode->given ? mode : chosen;
    }
    const bool needsRungs = simulate.given || power.given || experiments.given || band.given;
    if (needsRungs != rungs.given) {
        return fail(needsRungs ? std::string(chosen->option) + " needs --rungs"
                               : "--rungs goes with --simulate, --power, --experiments or --band");
    }
    if (band.given && start.given) {
        return fail("--start does not go with --band: the experiment starts at line 3");
    }
    if (start.given && line.given) {
        return fail("--line and --start cannot be combined");
    }
    for (const Seen* where : {&start, &line}) {
        if (where->given && (!chosen || chosen == &pooled)) {
            return fail(std::string(where->option) +
                        " goes with --csv, --simulate, --power, --experiments or --band");
        }
    }
    for (const Seen* flag : {&trend, &alike}) {
        if (flag->given && chosen != &pooled) {
            return fail(std::string(flag->option) + " goes with --class");
        }
    }
    if (band.given) {
        command.bandLine = line.given ? command.start - kFirstColumn + 1 : kStartColumn - 1;
        command.start = kStartColumn;
    }
    command.trend = trend.given;
    command.leaveOutAlike = alike.given;
    command.mode = csv.given           ? OddsCommand::Mode::Csv
                   : simulate.given    ? OddsCommand::Mode::Simulate
                   : power.given       ? OddsCommand::Mode::Power
                   : experiments.given ? OddsCommand::Mode::Experiments
                   : band.given        ? OddsCommand::Mode::Band
                   : pooled.given      ? OddsCommand::Mode::Class
                                       : OddsCommand::Mode::Window;
    return command;
}

std::string BandCsv(const ArrivalOdds& odds, int line) {
    const ExperimentBands bands(odds);
    std::map<int, std::array<std::string, 4>> rows;
    const auto put = [&rows](const std::vector<ExperimentBands::Range>& ranges, std::size_t at) {
        for (const ExperimentBands::Range& range : ranges) {
            std::array<std::string, 4>& row = rows[range.trials];
            row[at] = PlainNumber(100 * range.low, 6);
            row[at + 1] = PlainNumber(100 * range.high, 6);
        }
    };
    put(bands.Ended(line), 0);
    put(bands.Stopped(line), 2);
    std::string csv = "trials,ended_low,ended_high,stopped_low,stopped_high\n";
    for (const auto& [trials, row] : rows) {
        csv += std::to_string(trials);
        for (const std::string& cell : row) {
            csv += ',' + cell;
        }
        csv += '\n';
    }
    return csv;
}

std::string JudgementLines(const ArrivalCounts& counts, const ArrivalOdds& odds) {
    const ChiSquareResult exact = OddsAgreement(counts, odds);
    const FairnessResult fair = FairnessTest(counts);
    return TestLine("exact odds", exact.statistic, exact.degreesOfFreedom, "", exact.pValue,
                    exact.below) +
           TestLine("fairness", fair.statistic, fair.degreesOfFreedom,
                    fair.exact ? " (exact tail)" : "", fair.pValue);
}

std::string ClassReport(const std::vector<ClassGroup>& groups) {
    std::string out;
    for (const ClassGroup& group : groups) {
        out += "rungs " + std::to_string(group.rungs) + ": " + std::to_string(group.experiments) +
               (group.experiments == 1 ? " experiment, " : " experiments, ") +
               std::to_string(group.trials) + (group.trials == 1 ? " trial\n" : " trials\n");
        out += "line,count,relative frequency,exact odds\n";
        for (std::size_t c = 0; c < kArrivalColumns; ++c) {
            const double share = group.trials > 0 ? static_cast<double>(group.pooled[c]) /
                                                        static_cast<double>(group.trials)
                                                  : 0.0;
            out += std::to_string(c + 1) + "," + std::to_string(group.pooled[c]) + "," +
                   PlainNumber(share, 4, NumberStyle::Fixed) + "," +
                   PlainNumber(group.exact[c], 4, NumberStyle::Fixed) + "\n";
        }
        out += TestLine("fairness", group.fairness.statistic, group.fairness.degreesOfFreedom,
                        group.fairness.exact ? " (exact tail)" : "", group.fairness.pValue);
        out += TestLine("exact odds", group.odds.statistic, group.odds.degreesOfFreedom, "",
                        group.odds.pValue, group.odds.below);
        if (const std::optional<int> more = MoreForEighty(group)) {
            out += "for 80 % power against fair: about " + std::to_string(*more) +
                   " more experiments\n";
        }
    }
    return out;
}

}  // namespace hashigoro
