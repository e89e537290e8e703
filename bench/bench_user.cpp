#include "bench_user.h"

namespace hashigoro::bench {

std::string BenchUser::InputBox(const std::string&, const std::string&, const std::string&) {
    return std::to_string(rungs);
}

std::int16_t BenchUser::YesNoBox(const std::string&, const std::string&) {
    return kAnswerNo;
}

}  // namespace hashigoro::bench
