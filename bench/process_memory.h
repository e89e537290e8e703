#pragma once

#include <QtGlobal>

namespace hashigoro::bench {

// Resident set size of process `pid` (0: this process) in MB, or its peak so far when `peak`;
// 0 when the process cannot be read.
double ResidentMb(qint64 pid = 0, bool peak = false);

}  // namespace hashigoro::bench
