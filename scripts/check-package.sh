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
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
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
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &>/dev/null & pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo &>/dev/null && break; sleep 0.1; done
openbox &>/dev/null & pids+=($!)
export HOME=$scratch XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER
pulseaudio --daemonize=no --exit-idle-time=-1 -n --load=module-null-sink \
    --load=module-native-protocol-unix &>/dev/null & pids+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
(cd "$path" && exec $exec_line) &>"$out/program.log" & pids+=($!)
for _ in $(seq 100); do xdotool search --onlyvisible --name '横線本数' &>/dev/null && break; sleep 0.1; done
xdotool search --onlyvisible --name '横線本数' >/dev/null || { echo "no rung-count prompt" >&2; exit 1; }
sleep 0.5
import -window root "$out/prompt.png"
echo "the rung-count prompt is on screen ($out/prompt.png)"
xdotool key Return
sleep 1

echo "== the help button's chime, recorded on the null sink"
parecord --latency-msec=20 -d null.monitor --file-format=wav "$out/chime.wav" & recorder=$!
sleep 0.5
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
for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
pids=()
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
