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

# What the build needs first; the page's engines and the package's tools are fetched while it
# builds (the network, not the two cores, is what a fresh machine's install waits for), and
# installed after.
./scripts/install-deps.sh
./scripts/install-deps.sh --download-only web package >/dev/null 2>&1 &
fetching=$!
took installs
# Our own warnings are errors here, in every configuration built below.
export HASHIGORO_WERROR=ON

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHASHIGORO_WEB_TESTS=ON >/dev/null
cmake --build build -j2
took build

# Output of what runs in the background, shown when it is done.
logs=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$logs"' EXIT
# Waits for background job $1, shows its output ($2), and fails as it failed.
finish() {
    local status=0
    wait "$1" || status=$?
    cat "$2"
    return $status
}

# The page's installs wait mostly for the disk: beside them, and beside the page's build, the
# sanitized build takes what the two cores have left. A failed fetch is only time lost: the
# install fetches what is still missing. The page's build also installs its node modules:
# Playwright, pinned in the lock file, drives Debian's Chromium in the page's tests; no browser
# is downloaded.
wait "$fetching" || true
(./scripts/install-deps.sh web package && ./web.sh) >"$logs/page" 2>&1 &
page=$!
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DHASHIGORO_SANITIZE=ON >/dev/null
nice -n 10 cmake --build build-sanitize -j2
took "sanitized build"
finish $page "$logs/page"
took "the page's installs and build"

# The Debian package, built as ./package.sh builds it (optimised, with Debian's hardening
# flags), at the lowest priority beside the tests, from what they leave of the two cores while
# they wait for a browser or a display.
nice -n 19 ./package.sh >"$logs/package" 2>&1 &
package=$!
ctest --test-dir build --output-on-failure -j2
took tests
ctest --test-dir build-sanitize --output-on-failure -j2
took "sanitized tests"
finish $package "$logs/package"
took package
echo "test.sh took $((SECONDS / 60)) min $((SECONDS % 60)) s: $(IFS=,; echo "${times[*]}" | sed 's/,/, /g')"
