#!/usr/bin/env bash
# Installs what is missing, builds はしごろう and its browser edition and runs every test: once
# in the normal build, with the page in Chromium, Firefox and WebKit, and once more in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails. It also builds
# the Debian package, so that the packager's optimised, hardened configuration never breaks
# unseen. The sanitized build and the package compile at a lower priority while the normal
# build's tests run, most of which wait on real timers and browsers.
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

# Every package of every part at once: one update, one install.
./scripts/install-deps.sh web package
# Our own warnings are errors here, in every configuration built below.
export HASHIGORO_WERROR=ON

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHASHIGORO_WEB_TESTS=ON >/dev/null
cmake --build build -j2
# Also installs the page's node modules: Playwright, pinned in the lock file, drives Debian's
# Chromium in the page's tests; no browser is downloaded.
./web.sh

# The sanitized build, then the package, beside the normal build's tests.
beside=$(mktemp)
trap 'rm -f "$beside"' EXIT
(
    nice -n 10 cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DHASHIGORO_SANITIZE=ON
    nice -n 10 cmake --build build-sanitize -j2
    # Built as ./package.sh builds it: optimised, with Debian's hardening flags.
    nice -n 10 ./package.sh
) >"$beside" 2>&1 &
builds=$!
echo "Building the sanitized build and the package beside the tests (at a lower priority)."

status=0
ctest --test-dir build --output-on-failure -j2 || status=$?
if ! wait "$builds"; then
    cat "$beside"
    echo "test.sh: the sanitized build or the package failed to build (above)" >&2
    exit 1
fi
grep '^Built ' "$beside" || true
[ "$status" -eq 0 ] || { echo "test.sh: tests failed in build/ (above)" >&2; exit "$status"; }

ctest --test-dir build-sanitize --output-on-failure -j2
