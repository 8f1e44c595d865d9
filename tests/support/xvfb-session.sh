# Shared by the scripts that drive the real program on a private X server (sourced, not run).
# The sourcing script sets `work` (its temporary tree, with a `logs` folder), `wait_seconds`, and
# defines `fail MESSAGE`; it starts the program itself and keeps its pid in `zorby_pid`.

xvfb_pid=""
zorby_pid=""

# Ends a process we started: politely first, then for good, never waiting unbounded.
stop_process() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for _ in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    stop_process "$zorby_pid"
    stop_process "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A private X server on a free display, and the environment for a real Qt window on it. Without -auth
# the server keeps no cookies, so no xauth is needed; with TCP off only local clients reach it.
# -noreset: by default the server resets whenever its last client leaves, and every xdotool probe
# before the program connects is such a client; the reset compiles the keymap again and the program's
# connection would wait for it.
start_private_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/logs/display" \
        >"$work/logs/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local display_number="" deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        # Xvfb writes the number and a line end once it accepts connections.
        if [ "$(wc -l <"$work/logs/display")" -ge 1 ]; then
            display_number=$(head -n 1 "$work/logs/display")
            break
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$display_number" ] || fail "Xvfb gave no display number within $wait_seconds s"
    export DISPLAY=":$display_number"
    unset XAUTHORITY WAYLAND_DISPLAY
    # Qt wants a private runtime folder; keep it inside the tree rather than in a shared /tmp one.
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # The test presets run widgets offscreen; these scripts need the real X window.
    export QT_QPA_PLATFORM=xcb
}

# One xdotool command; bounded, since a stuck X server must not hang the test.
xdo() {
    timeout 5 xdotool "$@" || fail "xdotool $* failed or timed out"
}

# Waits, bounded, for the program under test to end, and sets zorby_status to its exit status.
zorby_status=""
wait_for_zorby_exit() {
    local deadline=$((SECONDS + wait_seconds))
    while kill -0 "$zorby_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.05
    done
    kill -0 "$zorby_pid" 2>/dev/null && fail "Zorby still running $wait_seconds s after its last step"
    zorby_status=0
    wait "$zorby_pid" || zorby_status=$?
    zorby_pid=""
}

# Sets found_window to the first mapped window whose title matches, within the time limit. Gives up at
# once if the program under test ($zorby_pid) has ended, since then no window will come.
found_window=""
wait_for_window() {
    local title=$1
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        found_window=$(timeout 5 xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
        [ -z "$found_window" ] || return 0
        kill -0 "$zorby_pid" 2>/dev/null || fail "Zorby ended while waiting for a window titled $title"
        sleep 0.1
    done
    fail "no window titled $title within $wait_seconds s"
}
