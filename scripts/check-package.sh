#!/usr/bin/env bash
# Tries the Debian package DEB on this machine, as root: installs it with its dependencies,
# starts the program the way the desktop menu does (its entry's Exec in its Path) on a private
# X display with a private sound server, checks that the rung-count prompt appears and that the
# help button's chime is heard whole, then removes the package and checks that none of its
# files is left. Screenshots and the recording go to dist/check/.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$1
[ "$(id -u)" -eq 0 ] || { echo "check-package.sh: run as root (it installs and removes the package)" >&2; exit 1; }

out=$PWD/dist/check
rm -rf "$out" && mkdir -p "$out"
scratch=$(mktemp -d)
source scripts/private-desktop.sh
cleanup() {
    private_desktop_stop
    rm -rf "$scratch"
}
trap cleanup EXIT

echo "== lintian"
lintian --fail-on error "$deb" | tee "$out/lintian.txt" || { echo "lintian reports errors" >&2; exit 1; }

echo "== install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
dpkg-query -L hashigoro > "$out/files.txt"
dpkg-query -W -f='${Depends}\n' hashigoro | tee "$out/depends.txt"
entry=/usr/share/applications/invalid.hashigoro.Hashigoro.desktop
desktop-file-validate "$entry"
appstreamcli validate --no-net /usr/share/metainfo/invalid.hashigoro.Hashigoro.metainfo.xml
exec_line=$(sed -n 's/^Exec=//p' "$entry")
path=$(sed -n 's/^Path=//p' "$entry")

echo "== start from the desktop entry: $exec_line in $path"
start_display 1280x800
start_window_manager
export HOME=$scratch XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_sound_server
(cd "$path" && exec $exec_line) &>"$out/program.log" & private_desktop_pids+=($!)
wait_until 60 "the rung-count prompt" xdotool search --onlyvisible --name '横線本数' ||
    { echo "no rung-count prompt" >&2; exit 1; }
sleep 0.5
import -window root "$out/prompt.png"
echo "the rung-count prompt is on screen ($out/prompt.png)"
xdotool key Return
wait_until 60 "the main window" xdotool search --onlyvisible --name '^ はしごろう$'

echo "== the help button's chime, recorded on the null sink"
parecord --latency-msec=20 -d null.monitor --file-format=wav "$out/chime.wav" & recorder=$!
recording() { [ -n "$(pactl list short source-outputs)" ]; }
wait_until 30 "the recorder" recording
sleep 0.2
main=$(xdotool search --onlyvisible --name '^ はしごろう$' | head -1)
xdotool mousemove --window "$main" 572 12 click 1
sleep 2.5
kill -INT "$recorder"; wait "$recorder" || true
import -window root "$out/help.png"
audible() {
    sox "$1" "$scratch/trimmed.wav" silence 1 0.005 -40d reverse silence 1 0.005 -40d reverse
    soxi -D "$scratch/trimmed.wav"
}
heard=$(audible "$out/chime.wav")
original=$(audible "$path/pinpon.wav")
peak=$(sox "$out/chime.wav" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
echo "pinpon: ${original} s audible in the file, ${heard} s recorded, peak amplitude ${peak}"
awk -v h="$heard" -v o="$original" 'BEGIN { exit !(h > 0.95 * o && h < o + 0.3) }' ||
    { echo "the chime was not heard whole" >&2; exit 1; }

echo "== remove"
private_desktop_stop
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq hashigoro >/dev/null
left=0
while read -r file; do
    if [ -e "$file" ] && [ ! -d "$file" ]; then echo "left behind: $file"; left=1; fi
done < "$out/files.txt"
for dir in /usr/share/hashigoro /usr/share/doc/hashigoro; do
    if [ -e "$dir" ]; then echo "left behind: $dir"; left=1; fi
done
[ "$left" -eq 0 ] || exit 1
echo "removed: no file of the package is left"
