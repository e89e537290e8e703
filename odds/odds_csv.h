#pragma once

#include <string>
#include <vector>

#include "arrivals.h"

namespace hashigoro {

// The exact table as CSV: the header rungs,col2,...,col11, then one row for every rung count
// from 0, each probability with 17 significant digits and a decimal point in any locale.
std::string OddsCsv(const std::vector<ArrivalOdds>& table);

}  // namespace hashigoro
