#!/usr/bin/env bash
# Photographs both windows on a private X server for docs/: the Qt window (build/default) and Zorby.exe
# under Wine (build/windows), each in the compact view, the debug view and with the About box, and
# Zorby.exe's compact view again at 144 dots per inch. Run after scripts/test.sh and
# scripts/test-windows.sh (the Wine prefix of the end-to-end test is reused).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
out="$top/docs/screenshots"
mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-shots-XXXXXX")
mkdir "$work/logs"
wait_seconds=20
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
source tests/support/xvfb-session.sh
start_private_xvfb

export WINEPREFIX="$top/build/windows/wine-prefix-e2e" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
[ -f "$WINEPREFIX/system.reg" ] || fail "no Wine prefix yet: run scripts/test-windows.sh first"
wineserver -k 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

window_titled() {
    local deadline=$((SECONDS + wait_seconds)) id=""
    while [ -z "$id" ] && [ "$SECONDS" -lt "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        sleep 0.2
    done
    [ -n "$id" ] || fail "no window titled $1"
    echo "$id"
}

# shoot NAME COMMAND...: the program in a fresh demo folder in debug mode.
shoot() {
    local name=$1
    shift
    rm -rf "$work/run" && mkdir "$work/run" && cp -r demo/default demo/custom "$work/run/" && touch "$work/run/custom/Debug.txt"
    (cd "$work/run/custom" && exec "$@") >"$work/logs/$name.log" 2>&1 &
    zorby_pid=$!
    local main
    main=$(window_titled "Patcher\$")
    sleep 1
    # Wine draws the frame itself: the client area (305 by 137) sits inside its border, below its caption.
    local geometry width height fx fy
    geometry=$(xdotool getwindowgeometry --shell "$main")
    width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
    height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
    fx=$(((width - 305) / 2))
    fy=$((height - 137 - fx))
    import -window "$main" "$out/$name-compact.png"
    xdotool mousemove --window "$main" $((fx + 152)) $((fy + 24)) click 1
    sleep 1
    import -window "$main" "$out/$name-debug.png"
    xdotool mousemove --window "$main" $((fx + 152)) $((fy + 24)) click 1
    sleep 0.5
    xdotool mousemove --window "$main" $((fx + 243)) $((fy + 25)) sleep 0.2 click 1
    import -window "$(window_titled '^About Patcher$')" "$out/$name-about.png"
    stop_process "$zorby_pid"
    zorby_pid=""
}

shoot qt "$top/build/default/app/Zorby"
shoot windows wine "$top/build/windows/app/Zorby.exe"

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
rm -rf "$work/run" && mkdir "$work/run" && cp -r demo/default demo/custom "$work/run/"
(cd "$work/run/custom" && exec wine "$top/build/windows/app/Zorby.exe") >"$work/logs/dpi.log" 2>&1 &
zorby_pid=$!
main=$(window_titled "Patcher\$")
sleep 1
import -window "$main" "$out/windows-compact-144dpi.png"
stop_process "$zorby_pid"
zorby_pid=""
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
ls "$out"
