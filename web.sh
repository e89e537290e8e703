#!/usr/bin/env bash
# Builds はしごろう for the browser from the same C++ experiment: dist/web/ (the page and its
# files, installable, working offline once loaded) and dist/hashigoro.html (one file with
# everything inside, to open from a USB stick or a shared folder).
# Usage: ./web.sh            build
#        ./web.sh serve [P]  build, then serve dist/web/ on http://localhost:P (8080 unless given)
set -euo pipefail
cd "$(dirname "$0")"
# Ninja where a build folder is made anew: it finds nothing to do in a fraction of a second.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"

./scripts/install-deps.sh web
# Our chimes and icons come from the desktop build's generators, which paint them, and the
# texts of every language from its catalogue.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target chimes icon_generator layout_json >/dev/null
# Emscripten runs its tools with this machine's Node.js, which needs Debian's module folder.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S web -B build-web -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DHASHIGORO_WERROR="${HASHIGORO_WERROR:-OFF}" >/dev/null
cmake --build build-web -j2
# The answer sheet's charts: Chart.js, bundled by esbuild, both pinned in the lock file.
(cd web && npm ci --no-audit --no-fund --loglevel=error)
web/node_modules/.bin/esbuild web/page/odds_charts.mjs --bundle --minify --format=iife \
    --target=es2020 --log-level=warning --outfile=build-web/charts.js
mkdir -p build-web/icons
QT_QPA_PLATFORM=offscreen build/tools/icon_generator build-web/icons 192 512 2>/dev/null
# Every language's texts, and the fonts of those the gothic cannot draw.
fonts=(--texts build/tools/layout_json
       --cjk /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
       --cjk-licence /usr/share/doc/fonts-noto-cjk/copyright)
/usr/bin/python3 web/bundle/bundle.py --script build-web/hashigoro.js --wasm build-web/hashigoro.wasm \
    --charts build-web/charts.js \
    --chimes build/sounds \
    --icons build-web/icons --font /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf \
    --licence /usr/share/doc/fonts-ipafont-gothic/copyright "${fonts[@]}" --out dist
# The same page with the runtime's checks on, for the tests only (see web/CMakeLists.txt).
/usr/bin/python3 web/bundle/bundle.py --script build-web/hashigoro_checked.js \
    --wasm build-web/hashigoro_checked.wasm --charts build-web/charts.js --chimes build/sounds \
    --icons build-web/icons --font /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf \
    --licence /usr/share/doc/fonts-ipafont-gothic/copyright "${fonts[@]}" \
    --out build-web/checked >/dev/null

if [ "${1:-}" = serve ]; then
    port="${2:-8080}"
    echo "Serving dist/web/: open http://localhost:$port/ in a browser on this computer (Ctrl-C ends)."
    echo "For iPads, put the files of dist/web/ on an HTTPS server (see README.md)."
    cd dist/web
    exec /usr/bin/python3 -m http.server --bind 127.0.0.1 "$port"
fi
