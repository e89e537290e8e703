#!/usr/bin/env bash
# Measures はしごろう on a private X server (Xvfb with openbox) and prints one table: trial time
# against the timers' limit, work per tick, start-up, memory and idle CPU, then the answer
# sheet's exact table, power, whole experiments, simulation rate, window opening and chart
# redraw; then the same for the browser edition in headless Chromium. Takes about eleven
# minutes, most of it the 60 trials of each edition that Timer3 starts five seconds apart.
# Usage: ./bench.sh [TRIALS_PER_RUNG_COUNT (20)] [STARTUP_RUNS (11)]
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target hashigoro_bench hashigoro-odds >/dev/null

runtime="$(mktemp -d)"
source scripts/private-desktop.sh
trap 'private_desktop_stop; rm -rf "$runtime"' EXIT
start_display 1280x1024
# A private runtime folder: no sound server, so no chime adds to the figures.
export XDG_RUNTIME_DIR="$runtime" PULSE_SERVER="$runtime/none"
unset QT_QPA_PLATFORM
start_window_manager

echo "はしごろう bench, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
build/bench/hashigoro_bench "$@"

# ./run.sh once everything is built, as right after ./test.sh: its checks (the packages, the
# build) and the whole of it to the prompt on the screen. The median of three.
now() { date +%s.%N; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { print a - b }'; }
median3() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
checks=() builds=() runs=()
for _ in 1 2 3; do
    t0=$(now)
    ./scripts/install-deps.sh
    t1=$(now)
    cmake --build build -j2 --target hashigoro chimes >/dev/null
    t2=$(now)
    XDG_DATA_HOME="$runtime/data" XDG_STATE_HOME="$runtime/state" ./run.sh &>/dev/null &
    program=$!
    wait_until 60 "the prompt of ./run.sh" xdotool search --onlyvisible --name '横線本数'
    t3=$(now)
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    checks+=("$(minus "$t1" "$t0")") builds+=("$(minus "$t2" "$t1")") runs+=("$(minus "$t3" "$t2")")
done
run_s=$(median3 "${runs[@]}")
printf '%-46s %-30s %-22s %s\n' "./run.sh after ./test.sh, to its prompt" "median $(printf %.2f "$run_s") s" \
    "<= 3 s" "$(awk -v t="$run_s" 'BEGIN { print (t <= 3 ? "met" : "MISSED") }')"
printf '%-46s %-30s\n' "   of which checking the build" "median $(printf %.2f "$(median3 "${builds[@]}")") s"
printf '%-46s %-30s\n' "   of which checking the packages" "median $(printf %.2f "$(median3 "${checks[@]}")") s"

# The browser edition, in headless Chromium.
./web.sh >/dev/null
echo
node web/bench/page_bench.mjs "$@"
