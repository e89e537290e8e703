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

namespace {

// The chances of PairCountDistributions over the first `columns` columns alone: weight[m][t] is
// the chance, summed over the ways, that m arrivals fall in those columns only, with T = t among
// them (the arrivals of the columns after them are still to come). Chances rather than the
// products of odds^count / count! keep every number in range for hundreds of trials. Weights
// that can add less than `negligible` to any chance, once those columns are counted too, are
// left behind.
std::vector<std::vector<double>> WalkColumns(const ArrivalOdds& odds, std::size_t columns, int most,
                                             int cap, double negligible) {
    const auto rows = static_cast<std::size_t>(most) + 1;
    const auto width = static_cast<std::size_t>(cap) + 1;
    struct Range {
        int low = 0;
        int high = -1;  // empty
    };
    // weight[m][t] over the columns so far, zero outside held[m]; next is all zero between
    // columns. The weights' sums from each t on (within the span that counts) live in tail.
    std::vector<std::vector<double>> weight(rows, std::vector<double>(width, 0.0));
    std::vector<std::vector<double>> next = weight;
    std::vector<std::vector<double>> tail = weight;
    std::vector<Range> held(rows);
    std::vector<Range> written(rows);
    weight[0][0] = 1;
    held[0] = {0, 0};
    std::vector<double> logFactorial(rows);
    for (std::size_t n = 1; n < rows; ++n) {
        logFactorial[n] = logFactorial[n - 1] + std::log(static_cast<double>(n));
    }
    const auto logChoose = [&](std::size_t n, std::size_t k) {
        return logFactorial[n] - logFactorial[k] - logFactorial[n - k];
    };
    // A weight w with k arrivals so far adds exactly w C(n, k) q^(n - k) to the chance of its
    // count after n trials, q the odds of the columns still to come: share[k] is the largest
    // such factor over n. What adds less than `negligible` to every chance is left behind.
    std::vector<double> share(rows);
    const auto shareFor = [&](double rest) {
        const double logRest = rest > 0 ? std::log(rest) : -HUGE_VAL;
        for (std::size_t k = 0; k < rows; ++k) {
            double largest = -HUGE_VAL;
            for (std::size_t n = k; n < rows; ++n) {
                largest =
                    std::max(largest, logChoose(n, k) +
                                          (n > k ? static_cast<double>(n - k) * logRest : 0.0));
            }
            share[k] = std::exp(largest);
        }
    };
    std::vector<Range> span(rows);
    std::vector<double> largest(rows);
    for (std::size_t column = 0; column < columns; ++column) {
        const double p = odds[column];
        double rest = p;
        for (std::size_t later = column + 1; later < odds.size(); ++later) {
            rest += odds[later];
        }
        // The span of each row that counts, its largest weight and its tail sums.
        shareFor(rest);
        for (std::size_t m = 0; m < rows; ++m) {
            const std::vector<double>& row = weight[m];
            const double least = negligible / share[m];
            Range kept = held[m];
            while (kept.low <= kept.high && !(row[static_cast<std::size_t>(kept.low)] > least)) {
                ++kept.low;
            }
            while (kept.high >= kept.low && !(row[static_cast<std::size_t>(kept.high)] > least)) {
                --kept.high;
            }
            span[m] = kept;
            double sum = 0;
            double top = 0;
            for (int t = kept.high; t >= kept.low; --t) {
                sum += row[static_cast<std::size_t>(t)];
                top = std::max(top, row[static_cast<std::size_t>(t)]);
                tail[m][static_cast<std::size_t>(t)] = sum;
            }
            largest[m] = top;
        }
        shareFor(rest - p);
        for (int m = 0; m <= most; ++m) {
            const auto [first, last] = span[static_cast<std::size_t>(m)];
            const double* from = weight[static_cast<std::size_t>(m)].data();
            // C(m + c, c) p^c, the chance's factor for c of the m + c arrivals in this column,
            // from one c to the next.
            double t = 1;
            for (int c = 0; m + c <= most && first <= last; t *= p * (m + c + 1) / (c + 1), ++c) {
                const auto k = static_cast<std::size_t>(m + c);
                if (t == 0) {
                    break;  // past its peak, or a column that cannot be reached
                }
                if (largest[static_cast<std::size_t>(m)] * t * share[k] < negligible) {
                    continue;
                }
                const int pairs = c * (c - 1) / 2;
                double* to = next[k].data();
                Range& touched = written[k];
                // Below the cap each count moves up by the column's pairs; the rest is gathered.
                const int below = std::min(last, cap - 1 - pairs);
                for (int s = first; s <= below; ++s) {
                    to[s + pairs] += from[s] * t;
                }
                if (first <= below) {
                    touched.low = touched.low <= touched.high ? std::min(touched.low, first + pairs)
                                                              : first + pairs;
                    touched.high = std::max(touched.high, below + pairs);
                }
                if (below < last) {
                    to[cap] += tail[static_cast<std::size_t>(m)]
                                   [static_cast<std::size_t>(std::max(first, below + 1))] *
                               t;
                    touched.low = touched.low <= touched.high ? std::min(touched.low, cap) : cap;
                    touched.high = cap;
                }
            }
        }
        weight.swap(next);
        held.swap(written);
        // What was the weights is all zero again, for the next column.
        for (std::size_t m = 0; m < rows; ++m) {
            const Range old = written[m];
            if (old.low <= old.high) {
                std::fill(next[m].begin() + old.low, next[m].begin() + old.high + 1, 0.0);
            }
            written[m] = {};
        }
    }
    return weight;
}

}  // namespace

std::vector<std::vector<double>> PairCountDistributions(const ArrivalOdds& odds, int most, int cap,
                                                        double negligible) {
    return WalkColumns(odds, odds.size(), most, cap, negligible);
}

std::vector<double> ChancesOfAtLeast(const ArrivalOdds& odds, const std::vector<int>& from,
                                     double negligible) {
    const int most = static_cast<int>(from.size()) - 1;
    const int cap = std::max(0, *std::max_element(from.begin(), from.end()));
    // The last column takes whatever arrivals are left, so it needs no walk of its own: after
    // the others, the chance of T >= from[n] is a sum over the arrivals m that they took.
    std::vector<std::vector<double>> weight =
        WalkColumns(odds, odds.size() - 1, most, cap, negligible);
    for (std::vector<double>& row : weight) {
        for (std::size_t t = row.size() - 1; t-- > 0;) {
            row[t] += row[t + 1];  // now the weight of T >= t
        }
    }
    const double last = odds.back();
    const double logLast = last > 0 ? std::log(last) : -HUGE_VAL;
    std::vector<double> chances(from.size(), 0.0);
    double logFactorialN = 0;
    for (int n = 0; n <= most; ++n) {
        logFactorialN += n > 0 ? std::log(static_cast<double>(n)) : 0.0;
        double sum = 0;
        // C(n, m) last^(n - m), the chance that the other n - m arrivals all fall in the last
        // column, from m = n down.
        double logFactorialM = logFactorialN;
        double logFactorialC = 0;
        for (int m = n; m >= 0; --m) {
            const int c = n - m;
            if (c > 0) {
                logFactorialM -= std::log(static_cast<double>(m + 1));
                logFactorialC += std::log(static_cast<double>(c));
            }
            const double term =
                c == 0 ? 1.0
                       : std::exp(logFactorialN - logFactorialM - logFactorialC + c * logLast);
            if (c > 0 && last == 0) {
                break;
            }
            const int needed = std::max(0, from[static_cast<std::size_t>(n)] - c * (c - 1) / 2);
            sum += term * weight[static_cast<std::size_t>(m)][static_cast<std::size_t>(needed)];
        }
        chances[static_cast<std::size_t>(n)] = std::clamp(sum, 0.0, 1.0);
    }
    return chances;
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
