#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing はしごろう need, skipping
# those already installed. Uses sudo when not run as root. With the argument "fuzz" it also
# installs clang and its fuzzer runtime, with "package" the tools that build and check the
# Debian package, with "web" Emscripten, the font tools and the CJK fonts of the browser edition
# and the three browser engines its tests drive.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkg-config libgl-dev
    qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n qt6-qpa-plugins libpulse-dev
    # the Japanese gothic that stands in for "ＭＳ Ｐゴシック"
    fonts-ipafont-gothic fontconfig
    # tests on a real X display and with a real sound server
    xvfb xauth xdotool openbox x11-utils imagemagick
    pulseaudio pulseaudio-utils sox
    # what a screen reader reads of the windows: the accessibility bus and its Python client
    dbus-daemon at-spi2-core python3-pyatspi
    # validators of what an installation holds
    desktop-file-utils appstream
)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi
if [ "${1:-}" = web ]; then
    # and the engines of the page's tests: Chromium, Firefox, WebKit (its WebDriver, under Xvfb)
    packages+=(emscripten chromium firefox-esr webkit2gtk-driver python3-fonttools python3-brotli
               nodejs fonts-noto-cjk)
fi
if [ "${1:-}" = package ]; then
    packages+=(dpkg-dev file lintian)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
