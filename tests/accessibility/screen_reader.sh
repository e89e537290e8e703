#!/usr/bin/env bash
# Runs screen_reader.py against はしごろう on a private X display with its own session bus and
# accessibility bus, as a desktop with a screen reader runs it.
# Usage: screen_reader.sh HASHIGORO_EXECUTABLE [HASHIGORO_ODDS_EXECUTABLE]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ "${HASHIGORO_OWN_BUS:-}" != 1 ]; then
    exec env HASHIGORO_OWN_BUS=1 dbus-run-session -- "$0" "$@"
fi
state="$(mktemp -d)"
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb=$!
read -r display <&3
export DISPLAY=":$display" XDG_STATE_HOME="$state" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null &
bus=$!
# A window manager: without one no window is ever active, and no control has the focus.
openbox 2>/dev/null &
wm=$!
trap 'kill $wm $bus $xvfb 2>/dev/null; rm -rf "$state"' EXIT
/usr/bin/python3 "$here/screen_reader.py" "$@"
