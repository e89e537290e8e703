#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing はしごろう need, skipping
# those already installed. Uses sudo when not run as root. Each argument adds a part: "fuzz"
# clang and its fuzzer runtime, "package" the tools that build and check the Debian package,
# "web" Emscripten, the font tools and the CJK fonts of the browser edition and the three
# browser engines its tests drive. With --download-only it only fetches what is missing into
# the package cache, from the package lists as they are, so that a later install need not wait
# for the network. Usage: install-deps.sh [--download-only] [fuzz|web|package]...
set -euo pipefail

download_only=0
if [ "${1:-}" = --download-only ]; then
    download_only=1
    shift
fi

packages=(
    # build
    cmake g++ make ninja-build pkg-config libgl-dev
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
for extra in "$@"; do
    case $extra in
        fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
        # and the engines of the page's tests: Chromium, Firefox, WebKit (its WebDriver, under
        # Xvfb)
        web) packages+=(emscripten chromium firefox-esr webkit2gtk-driver python3-fonttools
                        python3-brotli nodejs fonts-noto-cjk) ;;
        package) packages+=(dpkg-dev file lintian) ;;
        *) echo "install-deps.sh: unknown part $extra (fuzz, web or package)" >&2; exit 2 ;;
    esac
done

# One question to the package database for all of them; "ii" is a package wholly installed. A
# package the database has never heard of is not in its answer at all.
declare -A installed=()
while read -r package state; do
    [ "$state" = ii ] && installed[$package]=1
done < <(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for package in "${packages[@]}"; do
    [ -n "${installed[$package]:-}" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

# Runs an apt-get command, and again while another program holds the package manager's lock (a
# fresh desktop's automatic updates often do for minutes), for up to ten minutes in all.
said_waiting=0
until_unlocked() {
    local deadline=$((SECONDS + 600)) errors
    errors=$(mktemp)
    until DEBIAN_FRONTEND=noninteractive "${sudo[@]}" "$@" 2>"$errors"; do
        if grep -q "Could not get lock\|Unable to acquire\|Unable to lock" "$errors" &&
            ((SECONDS < deadline)); then
            if ((said_waiting == 0)); then
                echo "Waiting for the package manager: another program holds its lock" \
                    "(often the automatic updates); trying again every 5 s, for up to 10 minutes." >&2
                said_waiting=1
            fi
            sleep 5
            continue
        fi
        cat "$errors" >&2
        rm -f "$errors"
        return 1
    done
    grep -v "^debconf: delaying package configuration" "$errors" >&2 || true
    rm -f "$errors"
}

if ((download_only)); then
    until_unlocked apt-get install -y -qq --download-only --no-install-recommends \
        "${missing[@]}" >/dev/null
    exit
fi
echo "Installing: ${missing[*]}"
until_unlocked apt-get update -qq
until_unlocked apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
