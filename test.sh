#!/usr/bin/env bash
# Installs what is missing, builds はしごろう and its browser edition and runs every test: once
# in the normal build, with the page in Chromium, and once more in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails. Then it builds the
# Debian package, so that the packager's optimised, hardened configuration never breaks unseen.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh web
# Our own warnings are errors here, in every configuration built below.
export HASHIGORO_WERROR=ON

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHASHIGORO_WEB_TESTS=ON >/dev/null
cmake --build build -j2
# Also installs the page's node modules: Playwright, pinned in the lock file, drives Debian's
# Chromium in the page's tests; no browser is downloaded.
./web.sh
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DHASHIGORO_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2

# The Debian package, built as ./package.sh builds it: optimised, with Debian's hardening flags.
./package.sh
