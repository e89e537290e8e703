#!/usr/bin/env bash
# Measures はしごろう on a private X server (Xvfb with openbox) and prints one table: trial time
# against the timers' limit, work per tick, start-up, memory and idle CPU, then the answer
# sheet's exact table, power, whole experiments, simulation rate, window opening and chart
# redraw; then the same for the browser edition in headless Chromium. Takes about eleven
# minutes, most of it the 60 trials of each edition that Timer3 starts five seconds apart.
# Usage: ./bench.sh [TRIALS_PER_RUNG_COUNT (20)] [STARTUP_RUNS (11)]
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target hashigoro_bench hashigoro-odds >/dev/null

runtime="$(mktemp -d)"
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r display <&3
trap 'kill $wm_pid $xvfb_pid 2>/dev/null; rm -rf "$runtime"' EXIT
export DISPLAY=":$display"
# A private runtime folder: no sound server, so no chime adds to the figures.
export XDG_RUNTIME_DIR="$runtime" PULSE_SERVER="$runtime/none"
unset QT_QPA_PLATFORM
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

echo "はしごろう bench, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
build/bench/hashigoro_bench "$@"

# The browser edition, in headless Chromium.
./web.sh >/dev/null
echo
node web/bench/page_bench.mjs "$@"
