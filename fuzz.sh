#!/usr/bin/env bash
# Fuzzes the two readers of outside input with libFuzzer: the leading number of the rung-count
# entry (checked against a plain second reading) and the WAV reader. Usage: ./fuzz.sh [SECONDS]
# runs each target for SECONDS (60 unless given). Findings are written to build-fuzz/findings/
# and make the script fail.
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"
seconds="${1:-60}"

./scripts/install-deps.sh fuzz
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2

status=0
mkdir -p build-fuzz/findings
for target in leading_number wav; do
    fuzzer="build-fuzz/${target/wav/wav_reader}_fuzzer"
    corpus="build-fuzz/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target: $seconds s"
    # The committed seeds stay as they are; what the fuzzer learns goes to the build folder.
    if ! "$fuzzer" "$corpus" "fuzz/corpus/$target" -max_total_time="$seconds" -max_len=4096 \
        -artifact_prefix="build-fuzz/findings/$target-" -print_final_stats=1 \
        2> "build-fuzz/$target.log"; then
        status=1
        echo "   FINDING: see build-fuzz/$target.log and build-fuzz/findings/"
    fi
    grep -E "^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb" \
        "build-fuzz/$target.log" | sed 's/^/   /'
    echo "   corpus: $(find "$corpus" -type f | wc -l) inputs"
done
exit $status
