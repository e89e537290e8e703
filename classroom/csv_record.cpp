#include "csv_record.h"

namespace hashigoro {

namespace {

// The separator of a record: the first comma, tab or semicolon outside quotes.
char SeparatorOf(std::string_view line) {
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || c == '\t' || c == ';')) {
            return c;
        }
    }
    return ',';
}

}  // namespace

std::optional<CsvRecord> QuotedRecord(const std::vector<std::string_view>& lines,
                                      std::size_t first) {
    if (first >= lines.size() || lines[first].find('"') == std::string_view::npos) {
        return std::nullopt;
    }
    const char separator = SeparatorOf(lines[first]);
    CsvRecord record;
    std::string field;
    bool quoted = false;
    for (std::size_t l = first; l < lines.size() && l < first + kMostRecordLines; ++l) {
        const std::string_view line = lines[l];
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (quoted) {
                if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    field += c;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == separator) {
                record.fields.push_back(std::move(field));
                field.clear();
            } else {
                field += c;
            }
        }
        if (!quoted) {
            record.fields.push_back(std::move(field));
            record.lines = l - first + 1;
            return record;
        }
        field += ' ';  // a line break inside quotes
    }
    return std::nullopt;
}

}  // namespace hashigoro
