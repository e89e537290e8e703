#include "odds_sheet_text.h"

#include <cmath>

#include "plain_number.h"
#include "rung_count_prompt.h"

namespace hashigoro::odds_sheet {

namespace {

std::string Fixed(double value, int digits) {
    return PlainNumber(value, digits, NumberStyle::Fixed);
}

}  // namespace

std::string Grouped(std::uint64_t value) {
    // Built forwards, a comma before every third digit from the right; inserting into the
    // string instead draws a false -Wrestrict from GCC 12 with optimisation.
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string StartLine(int column) {
    return texts::Format(TextId::StartLine, {std::to_string(column - 1)});
}

std::string ArrivalLine(int column) {
    return texts::Format(TextId::ArrivalLine, {std::to_string(column - 1)});
}

std::string SaveFailed(const std::string& path) {
    return texts::Format(TextId::SaveFailed, {path});
}

std::string CsvFileName(int start) {
    return "hashigoro-odds-start" + std::to_string(start) + ".csv";
}

std::string PngFileName(int rungs) {
    return "hashigoro-odds-" + std::to_string(rungs) + ".png";
}

std::string DistanceSentence(int rungs, const Unfairness& chosen, int fairest,
                             const Unfairness& fairestRow) {
    return texts::Format(TextId::Distance,
                         {std::to_string(rungs), Fixed(100 * chosen.totalVariation, 1),
                          Fixed(100 * chosen.largestDeviation, 1), std::to_string(fairest),
                          PlainNumber(100 * fairestRow.totalVariation, 2)});
}

std::string PValue(double p, bool below) {
    if (p < 0.001) {
        return "p < 0.001";
    }
    // Appended piece by piece: a literal joined to a temporary string draws a false -Wrestrict
    // from GCC 12 with optimisation.
    std::string said(below ? "p < " : "p = ");
    said += PlainNumber(p, below ? 1 : 3);
    return said;
}

std::string Verdict(bool cancelled, std::uint64_t trials, int rungs,
                    const ChiSquareResult& exactOdds, const FairnessResult& fairness) {
    const std::string run = texts::Format(
        TextId::VerdictTrials,
        {Grouped(trials), std::to_string(rungs), Fixed(exactOdds.statistic, 2),
         std::to_string(exactOdds.degreesOfFreedom), PValue(exactOdds.pValue, exactOdds.below)});
    const std::string fair = texts::Format(
        TextId::FairTrials, {Fixed(fairness.statistic, 2),
                             std::to_string(fairness.degreesOfFreedom), PValue(fairness.pValue)});
    // Appended piece by piece (see Grouped).
    std::string said = cancelled ? texts::Format(TextId::VerdictCancelled, {run}) : run;
    said += '\n';
    said += texts::Text(CallsUnfair(exactOdds.pValue) ? TextId::OddsDisagree : TextId::OddsAgree);
    said += '\n';
    said += fair;
    said += '\n';
    said += texts::Text(CallsUnfair(fairness.pValue) ? TextId::Unfair : TextId::NotUnfair);
    return said;
}

std::uint64_t Rounded(std::uint64_t trials) {
    if (trials < 100) {
        return trials;
    }
    const auto unit = static_cast<std::uint64_t>(
        std::pow(10.0, std::floor(std::log10(static_cast<double>(trials))) - 1));
    return (trials + unit / 2) / unit * unit;
}

std::string PowerSentence(int rungs, std::optional<std::uint64_t> trials) {
    if (!trials) {
        return texts::Format(TextId::PowerNever, {std::to_string(rungs)});
    }
    return texts::Format(TextId::PowerTrials, {std::to_string(rungs), Grouped(Rounded(*trials))});
}

std::string ExperimentsSentence(int rungs, int experiments, int detected, int median, int low,
                                int high) {
    if (rungs < kMinRungs || rungs > kMaxRungs) {
        return std::string(texts::Text(TextId::ExperimentsOutside));
    }
    const double share = experiments > 0 ? 100.0 * detected / experiments : 0;
    return texts::Format(TextId::Experiments,
                         {Fixed(share, 0), std::to_string(median), std::to_string(low),
                          std::to_string(high), Grouped(static_cast<std::uint64_t>(experiments))});
}

}  // namespace hashigoro::odds_sheet
