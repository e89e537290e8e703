#include "odds_command_line.h"

#include <charconv>
#include <utility>

#include "rung_count_prompt.h"

namespace hashigoro {

namespace {

constexpr std::uint64_t kMostTrials = 100'000'000;

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

}  // namespace

OddsCommand ParseOddsCommandLine(const std::vector<std::string>& arguments) {
    OddsCommand command;
    bool csv = false;
    bool simulate = false;
    bool start = false;
    bool rungs = false;
    const auto fail = [&command](std::string message) {
        command.mode = OddsCommand::Mode::Error;
        command.error = std::move(message);
        return command;
    };
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
        bool* seen = option == "--csv"        ? &csv
                     : option == "--simulate" ? &simulate
                     : option == "--start"    ? &start
                     : option == "--rungs"    ? &rungs
                                              : nullptr;
        if (!seen) {
            return fail("unknown argument \"" + option + "\" (see --help)");
        }
        if (*seen) {
            return fail(option + " is given twice");
        }
        *seen = true;
        if (option == "--csv") {
            continue;
        }
        if (i + 1 == arguments.size()) {
            return fail(option + " needs a value");
        }
        const std::string& text = arguments[++i];
        const std::uint64_t minimum = option == "--start"   ? kFirstColumn
                                      : option == "--rungs" ? kMinRungs
                                                            : 1;
        const std::uint64_t maximum = option == "--start"   ? kLastColumn
                                      : option == "--rungs" ? kMaxRungs
                                                            : kMostTrials;
        std::uint64_t value = 0;
        std::string error;
        if (!ReadNumber(option, text, minimum, maximum, value, error)) {
            return fail(error);
        }
        if (option == "--start") {
            command.start = static_cast<int>(value);
        } else if (option == "--rungs") {
            command.rungs = static_cast<int>(value);
        } else {
            command.trials = value;
        }
    }
    if (csv && simulate) {
        return fail("--csv and --simulate cannot be combined");
    }
    if (simulate != rungs) {
        return fail(simulate ? "--simulate needs --rungs" : "--rungs goes with --simulate");
    }
    if (start && !csv && !simulate) {
        return fail("--start goes with --csv or --simulate");
    }
    command.mode = csv        ? OddsCommand::Mode::Csv
                   : simulate ? OddsCommand::Mode::Simulate
                              : OddsCommand::Mode::Window;
    return command;
}

}  // namespace hashigoro
