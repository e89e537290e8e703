#!/usr/bin/env bash
# Installs what is missing, builds はしごろう and its browser edition and runs every test: once
# in the normal build, with the page in Chromium, Firefox and WebKit, and once more in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails. It also builds
# the Debian package, so that the packager's optimised, hardened configuration never breaks
# unseen. Says at the end how long each part took.
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

# Where the time goes, said at the end.
times=()
took() { times+=("$1 $((SECONDS - mark)) s"); mark=$SECONDS; }
mark=$SECONDS

# Every package of every part at once: one update, one install.
./scripts/install-deps.sh web package
took installs
# Our own warnings are errors here, in every configuration built below.
export HASHIGORO_WERROR=ON

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHASHIGORO_WEB_TESTS=ON >/dev/null
cmake --build build -j2
took build
# Also installs the page's node modules: Playwright, pinned in the lock file, drives Debian's
# Chromium in the page's tests; no browser is downloaded.
./web.sh
took page

# The sanitized build and its tests, and the package, beside the normal build's tests: most of
# those wait on real timers and browsers. The compilers run at a lower priority, the package's
# lowest, so that the sanitized tests start as soon as they can.
sanitized=$(mktemp) packaged=$(mktemp)
trap 'rm -f "$sanitized" "$packaged"' EXIT
(
    nice -n 10 cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DHASHIGORO_SANITIZE=ON
    nice -n 10 cmake --build build-sanitize -j2
    echo "== The sanitized build's tests"
    ctest --test-dir build-sanitize --output-on-failure -j2
) >"$sanitized" 2>&1 &
sanitizing=$!
# Built as ./package.sh builds it: optimised, with Debian's hardening flags.
nice -n 15 ./package.sh >"$packaged" 2>&1 &
packaging=$!
echo "The sanitized build and its tests, and the package, go on beside these tests (their report follows)."

status=0
ctest --test-dir build --output-on-failure -j2 || status=$?
took tests
sanitized_status=0 packaged_status=0
wait "$sanitizing" || sanitized_status=$?
wait "$packaging" || packaged_status=$?
took "sanitized build and tests and package, after the tests"
if [ "$sanitized_status" -eq 0 ]; then
    sed -n '/^== The sanitized build.s tests/,$p' "$sanitized"
else
    cat "$sanitized"
    echo "test.sh: the sanitized build or its tests failed (above)" >&2
fi
if [ "$packaged_status" -eq 0 ]; then
    grep '^Built ' "$packaged"
else
    cat "$packaged"
    echo "test.sh: the package failed to build (above)" >&2
fi
[ "$status" -eq 0 ] || echo "test.sh: tests failed in build/ (above)" >&2
echo "test.sh took $((SECONDS / 60)) min $((SECONDS % 60)) s: $(IFS=,; echo "${times[*]}" | sed 's/,/, /g')"
[ "$status" -eq 0 ] && [ "$sanitized_status" -eq 0 ] && [ "$packaged_status" -eq 0 ]
