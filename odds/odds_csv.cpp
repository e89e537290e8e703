#include "odds_csv.h"

#include "plain_number.h"

namespace hashigoro {

std::string OddsCsv(const std::vector<ArrivalOdds>& table) {
    std::string out = "rungs,col2,col3,col4,col5,col6,col7,col8,col9,col10,col11\n";
    for (std::size_t n = 0; n < table.size(); ++n) {
        out += std::to_string(n);
        for (double p : table[n]) {
            out += ',';
            out += PlainNumber(p, 17);
        }
        out += '\n';
    }
    return out;
}

}  // namespace hashigoro
