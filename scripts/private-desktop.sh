# Sourced by the scripts and tests that need a desktop of their own: a private X display, its
# window manager, a sound server and an accessibility bus. Each start_* function starts its
# helper, waits until it answers and returns non-zero with a clear message when it never does,
# so that a check never fails only because a helper on a busy machine was not ready yet.
# The helpers started are in private_desktop_pids; private_desktop_stop ends them.

private_desktop_pids=()

# wait_until SECONDS WHAT COMMAND...: runs COMMAND every tenth of a second until it succeeds.
# Says once that it waits when WHAT takes longer than two seconds; fails naming WHAT.
wait_until() {
    local seconds=$1 what=$2 waited=0
    shift 2
    local end=$((SECONDS + seconds)) said=0
    until "$@" &>/dev/null; do
        if ((SECONDS >= end)); then
            echo "private desktop: $what did not answer within $seconds s" >&2
            return 1
        fi
        if ((said == 0 && waited >= 20)); then
            echo "private desktop: waiting for $what (a busy machine)" >&2
            said=1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
}

# start_display WIDTHxHEIGHT: Xvfb on a display it picks itself; exports DISPLAY once the
# server answers.
start_display() {
    local size=$1 numbers
    numbers=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$numbers" &>/dev/null &
    private_desktop_pids+=($!)
    wait_until 30 "Xvfb's display number" test -s "$numbers" || { rm -f "$numbers"; return 1; }
    export DISPLAY=":$(head -1 "$numbers")"
    rm -f "$numbers"
    wait_until 30 "the X server on $DISPLAY" xdpyinfo
}

# start_window_manager: openbox on $DISPLAY, waited for until it manages the screen. Without a
# window manager no window ever becomes active, and no control has the focus. One that ends, or
# does not manage the screen within 30 s, is said with what it wrote and started again, three
# times at most.
start_window_manager() {
    local attempt log pid
    log=$(mktemp)
    for attempt in 1 2 3; do
        openbox >"$log" 2>&1 &
        pid=$!
        private_desktop_pids+=($pid)
        # Until openbox manages the screen, or has ended.
        if wait_until 30 "openbox on $DISPLAY" \
            sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || ! kill -0 $pid"; then
            if kill -0 "$pid" 2>/dev/null; then
                rm -f "$log"
                return 0
            fi
        fi
        echo "private desktop: openbox did not take $DISPLAY (try $attempt of 3);" \
            "it said: $(tr '\n' ' ' <"$log")" >&2
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -f "$log"
    return 1
}

# start_sound_server: a private PulseAudio server with a null sink in $XDG_RUNTIME_DIR,
# waited for until pactl is answered.
start_sound_server() {
    unset PULSE_SERVER
    pulseaudio --daemonize=no --exit-idle-time=-1 -n --load=module-null-sink \
        --load=module-native-protocol-unix &>/dev/null &
    private_desktop_pids+=($!)
    wait_until 30 "the sound server" pactl info
}

# start_accessibility_bus: the accessibility bus on the session bus already running, waited
# for until its name is owned there.
start_accessibility_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately &>/dev/null &
    private_desktop_pids+=($!)
    wait_until 30 "the accessibility bus" sh -c 'dbus-send --session --print-reply \
        --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus | grep -q "boolean true"'
}

private_desktop_stop() {
    local pid
    for pid in "${private_desktop_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    private_desktop_pids=()
}
