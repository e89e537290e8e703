#!/usr/bin/env bash
# Builds the Debian package of はしごろう into dist/, from the same install target as
# `cmake --install`. With --check it then tries the package on this machine, as root: installs
# it with its dependencies, starts the program from its desktop entry on a private X display,
# records its chimes on a private sound server, and removes it again, leaving no file behind.
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

./scripts/install-deps.sh package
# Debian's hardened build flags (stack protector, fortified functions, full RELRO). Only what
# the package holds is built: CPack would otherwise build every test first.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-package -j2 --target hashigoro hashigoro-odds chimes icons \
    compressed_documents
(cd build-package && cpack -G DEB -B "$PWD/cpack" >/dev/null)
mkdir -p dist
deb=$(ls build-package/cpack/hashigoro_*.deb)
cp "$deb" dist/
deb="dist/$(basename "$deb")"
echo "Built $deb"

if [ "${1:-}" = --check ]; then
    exec ./scripts/check-package.sh "$deb"
fi
