#!/usr/bin/env bash
# Runs screen_reader.py against はしごろう on a private X display with its own session bus and
# accessibility bus, as a desktop with a screen reader runs it. Every helper is waited for until
# it answers, so that no check fails on a helper that was not ready.
# Usage: screen_reader.sh HASHIGORO_EXECUTABLE [HASHIGORO_ODDS_EXECUTABLE]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ "${HASHIGORO_OWN_BUS:-}" != 1 ]; then
    exec env HASHIGORO_OWN_BUS=1 dbus-run-session -- "$0" "$@"
fi
source "$here/../../scripts/private-desktop.sh"
state="$(mktemp -d)"
trap 'private_desktop_stop; rm -rf "$state"' EXIT
export XDG_STATE_HOME="$state" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_display 1280x1024
start_accessibility_bus
start_window_manager
/usr/bin/python3 "$here/screen_reader.py" "$@"
