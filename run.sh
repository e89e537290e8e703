#!/usr/bin/env bash
# Installs what is missing, builds はしごろう and starts it in run/, beside our chimes.
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no graphical display (DISPLAY is not set); start はしごろう from a desktop session." >&2
    exit 1
fi

./scripts/install-deps.sh
# The build folder that ./test.sh sets up serves as it is: only the program and its chimes are
# built, and after ./test.sh nothing is left to build.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target hashigoro chimes >/dev/null
mkdir -p run
cp build/sounds/pinpon.wav build/sounds/endpinpon.wav run/
cd run
exec ../build/app/hashigoro/hashigoro
