#!/usr/bin/env bash
# Installs what is missing, builds はしごろう＿理論値 and runs it with the given arguments:
# none for the window, --csv for the exact table, --simulate TRIALS --rungs N for a simulation
# with the experiment's own logic, --power --rungs N for the trials it takes to see the bias
# (--help lists them).
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

window=1
for argument in "$@"; do
    case "$argument" in
        --csv | --simulate | --power | --experiments | --help | -h | --version) window=0 ;;
    esac
done
if [ "$window" -eq 1 ] && [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "odds.sh: no graphical display (DISPLAY is not set); try ./odds.sh --csv or --help." >&2
    exit 1
fi

./scripts/install-deps.sh >&2
# The build folder that ./test.sh sets up serves as it is (see run.sh).
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target hashigoro-odds >/dev/null
exec build/app/hashigoro-odds/hashigoro-odds "$@"
