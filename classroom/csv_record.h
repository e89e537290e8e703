#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hashigoro {

// One record of a CSV or tab-separated file as RFC 4180 reads it, from line `first` of `lines`
// on: fields split at the separator outside quotes (the first comma, tab or semicolon outside
// quotes, else a comma), their quotes taken off, a doubled quote one quote, a line break inside
// quotes a blank. Nothing for a line without a quote, or for a quote that stays open past
// kMostRecordLines lines (a stray quote in a chat, not a field).
struct CsvRecord {
    std::vector<std::string> fields;
    std::size_t lines = 1;  // how many lines the record took
};
inline constexpr std::size_t kMostRecordLines = 8;
std::optional<CsvRecord> QuotedRecord(const std::vector<std::string_view>& lines,
                                      std::size_t first);

}  // namespace hashigoro
