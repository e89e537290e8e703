#include "fairness_test.h"

#include <algorithm>
#include <cmath>

#include "chi_square.h"

namespace hashigoro {

namespace {

constexpr int kExactBelow = static_cast<int>(kChiSquareFromTrials);

// The most pairs of arrivals in one column that `trials` arrivals can make.
std::uint64_t MostPairs(std::uint64_t trials) {
    return trials * (trials - (trials > 0)) / 2;
}

// X² from the trials and the pairs: S = 2 pairs + trials, X² = 10 S / trials - trials.
double Statistic(std::uint64_t trials, std::uint64_t pairs) {
    const double n = static_cast<double>(trials);
    const double squares = 2 * static_cast<double>(pairs) + n;
    return std::max(0.0, static_cast<double>(kArrivalColumns) * squares / n - n);
}

double ChiSquarePValue(double statistic) {
    return UpperGammaQ((kArrivalColumns - 1) / 2.0, statistic / 2);
}

// P(pairs >= t) under fairness, for every trial count below 50 and every t it can reach, and
// the least t that the test rejects.
struct FairTails {
    std::vector<std::vector<double>> tail;    // [trials][t]
    std::vector<std::uint64_t> rejectedFrom;  // [trials]
};

const FairTails& Tails() {
    // Built once, on first use, in a few milliseconds; read-only afterwards, from any thread.
    static const FairTails tails = [] {
        constexpr int most = kExactBelow - 1;
        FairTails made;
        made.tail = PairCountDistributions(FairOdds(), most, static_cast<int>(MostPairs(most)));
        made.rejectedFrom.assign(kExactBelow, 0);
        for (std::size_t n = 0; n <= most; ++n) {
            std::vector<double>& t = made.tail[n];
            t.resize(MostPairs(n) + 1);
            for (std::size_t s = t.size() - 1; s-- > 0;) {
                t[s] += t[s + 1];
            }
            // The tail shrinks as t grows: walk down while it stays below the level.
            std::size_t from = t.size();  // past every count: a test that can never reject
            while (from > 0 && CallsUnfair(t[from - 1])) {
                --from;
            }
            made.rejectedFrom[n] = from;
        }
        return made;
    }();
    return tails;
}

}  // namespace

ArrivalOdds FairOdds() {
    ArrivalOdds fair;
    fair.fill(1.0 / kArrivalColumns);
    return fair;
}

std::vector<std::vector<double>> PairCountDistributions(const ArrivalOdds& odds, int most, int cap,
                                                        double negligible) {
    const auto rows = static_cast<std::size_t>(most) + 1;
    const auto width = static_cast<std::size_t>(cap) + 1;
    // weight[m][t], over the columns so far, and in each row the span [low, high] outside
    // which every weight is negligible.
    std::vector<std::vector<double>> weight(rows, std::vector<double>(width, 0.0));
    std::vector<std::vector<double>> next = weight;
    std::vector<int> low(rows, 0);
    std::vector<int> high(rows, -1);
    weight[0][0] = 1;
    high[0] = 0;
    std::vector<double> term(rows);
    std::vector<double> logFactorial(rows);
    for (std::size_t n = 1; n < rows; ++n) {
        logFactorial[n] = logFactorial[n - 1] + std::log(static_cast<double>(n));
    }
    for (std::size_t column = 0; column < odds.size(); ++column) {
        const double p = odds[column];
        // p^c / c!
        term[0] = 1;
        for (std::size_t c = 1; c < rows; ++c) {
            term[c] = term[c - 1] * p / static_cast<double>(c);
        }
        for (auto& row : next) {
            std::fill(row.begin(), row.end(), 0.0);
        }
        for (int m = 0; m <= most; ++m) {
            const int first = low[static_cast<std::size_t>(m)];
            const int last = high[static_cast<std::size_t>(m)];
            const double* from = weight[static_cast<std::size_t>(m)].data();
            for (int c = 0; m + c <= most && first <= last; ++c) {
                const double t = term[static_cast<std::size_t>(c)];
                if (t == 0) {
                    break;  // a column that cannot be reached takes no arrivals
                }
                const int pairs = c * (c - 1) / 2;
                double* to = next[static_cast<std::size_t>(m + c)].data();
                // Below the cap each count moves up by the column's pairs; the rest is gathered.
                const int below = std::min(last, cap - 1 - pairs);
                for (int s = first; s <= below; ++s) {
                    to[s + pairs] += from[s] * t;
                }
                double over = 0;
                for (int s = std::max(first, below + 1); s <= last; ++s) {
                    over += from[s];
                }
                to[cap] += over * t;
            }
        }
        weight.swap(next);
        // A weight w with m arrivals so far adds exactly w n! q^(n - m) / (n - m)! to the chance
        // of its count after n trials, q the odds of the columns still to come: a weight
        // whose largest such share is below `negligible` is left behind.
        double rest = 0;
        for (std::size_t later = column + 1; later < odds.size(); ++later) {
            rest += odds[later];
        }
        const double logRest = rest > 0 ? std::log(rest) : -HUGE_VAL;
        for (std::size_t m = 0; m < rows; ++m) {
            double least = 0;
            if (negligible > 0) {
                double largest = -HUGE_VAL;  // the log of the largest share of a unit weight
                for (std::size_t n = m; n < rows; ++n) {
                    const double share = logFactorial[n] - logFactorial[n - m] +
                                         (n > m ? static_cast<double>(n - m) * logRest : 0.0);
                    largest = std::max(largest, share);
                }
                least = negligible * std::exp(-largest);
            }
            const std::vector<double>& row = weight[m];
            int first = 0;
            int last = cap;
            while (first <= last && !(row[static_cast<std::size_t>(first)] > least)) {
                ++first;
            }
            while (last >= first && !(row[static_cast<std::size_t>(last)] > least)) {
                --last;
            }
            low[m] = first;
            high[m] = last;
        }
    }
    // n! times the weights, n! built up as the rows go.
    double factorial = 1;
    for (std::size_t n = 0; n < rows; ++n) {
        factorial *= n > 0 ? static_cast<double>(n) : 1.0;
        for (double& w : weight[n]) {
            w *= factorial;
        }
    }
    return weight;
}

std::uint64_t RejectedPairsFrom(std::uint64_t trials) {
    if (trials < kChiSquareFromTrials) {
        return Tails().rejectedFrom[trials];
    }
    // The p-value falls as the pairs grow: the least count whose p-value is below the level.
    std::uint64_t low = 0;  // not rejected: X² = 0 at the fewest pairs
    std::uint64_t high = MostPairs(trials);
    if (!CallsUnfair(ChiSquarePValue(Statistic(trials, high)))) {
        return high + 1;
    }
    while (high - low > 1) {
        const std::uint64_t middle = low + (high - low) / 2;
        (CallsUnfair(ChiSquarePValue(Statistic(trials, middle))) ? high : low) = middle;
    }
    return high;
}

FairnessResult FairnessTest(const ArrivalCounts& counts) {
    FairnessResult result;
    std::uint64_t trials = 0;
    std::uint64_t pairs = 0;
    for (std::uint64_t count : counts) {
        trials += count;
        pairs += count * (count - (count > 0)) / 2;
    }
    if (trials == 0) {
        result.exact = true;
        return result;
    }
    result.statistic = Statistic(trials, pairs);
    if (trials < kChiSquareFromTrials) {
        result.exact = true;
        result.pValue = Tails().tail[trials][pairs];
    } else {
        result.pValue = ChiSquarePValue(result.statistic);
    }
    return result;
}

}  // namespace hashigoro
