#!/usr/bin/env bash
# Times Zorby.exe under Wine from the start of `wine` until its main window is on the screen, started
# alternately with a bare Win32 window built the same way (a caption, a label and a button), in one run
# on one private X server with one Wine server kept alive. Zorby starts in a fresh copy of demo/.
# Prints every run, the medians and Zorby's as a multiple of the bare window's. Given another Zorby.exe
# (an older build, say), it takes its turn after the two and is reported the same way.
#
# Usage: bench/startup-windows.sh [runs [OTHER-Zorby.exe]]   (default 10 runs; needs the build of the
#        windows preset and the Wine prefix that its end-to-end test makes)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
runs=${1:-10}
other=${2:+$(realpath "$2")}
zorby="$top/build/windows/app/Zorby.exe"
bare="$top/build/windows/bench/win32/zorby_bare_win32_window.exe"
export WINEPREFIX="$top/build/windows/wine-prefix-e2e" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
[ -f "$zorby" ] && [ -f "$bare" ] || { echo "build the windows preset first" >&2; exit 2; }
[ -z "$other" ] || [ -f "$other" ] || { echo "no program $2" >&2; exit 2; }
[ -f "$WINEPREFIX/system.reg" ] || { echo "no Wine prefix: run scripts/test-windows.sh first" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-wine-startup-XXXXXX")
mkdir "$work/logs"
wait_seconds=20
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
source tests/support/xvfb-session.sh
start_private_xvfb
wineserver -k 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

# Milliseconds from the start of the program until a visible window with that title exists; then the
# program is closed and waited for.
time_start() {
    local title=$1 folder=$2
    shift 2
    local start id="" deadline=$((SECONDS + wait_seconds))
    start=$(date +%s%N)
    (cd "$folder" && exec "$@") >>"$work/logs/run.log" 2>&1 &
    zorby_pid=$!
    while [ -z "$id" ] && [ "$SECONDS" -lt "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] || sleep 0.005
    done
    [ -n "$id" ] || fail "no window titled $title"
    echo $((($(date +%s%N) - start) / 1000000))
    stop_process "$zorby_pid"
    zorby_pid=""
    # The next window must not be taken for this one.
    while [ -n "$(xdotool search --onlyvisible --name "$title" 2>/dev/null)" ]; do
        sleep 0.01
    done
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One run of each first, not counted: Wine loads its libraries into the page cache.
mkdir -p "$work/run" && cp -r demo/default demo/custom "$work/run/"
time_start '^Bare Win32 window$' "$work" wine "$bare" >/dev/null
time_start "Patcher\$" "$work/run/custom" wine "$zorby" >/dev/null
: >"$work/bare" && : >"$work/zorby" && : >"$work/other"
for run in $(seq "$runs"); do
    rm -rf "$work/run" && mkdir "$work/run" && cp -r demo/default demo/custom "$work/run/"
    bare_ms=$(time_start '^Bare Win32 window$' "$work" wine "$bare")
    zorby_ms=$(time_start "Patcher\$" "$work/run/custom" wine "$zorby")
    line="run $run: bare $bare_ms ms, Zorby.exe $zorby_ms ms"
    if [ -n "$other" ]; then
        rm -rf "$work/run" && mkdir "$work/run" && cp -r demo/default demo/custom "$work/run/"
        other_ms=$(time_start "Patcher\$" "$work/run/custom" wine "$other")
        echo "$other_ms" >>"$work/other"
        line="$line, other $other_ms ms"
    fi
    echo "$line"
    echo "$bare_ms" >>"$work/bare"
    echo "$zorby_ms" >>"$work/zorby"
done
bare_median=$(median <"$work/bare")
zorby_median=$(median <"$work/zorby")
echo "median: bare $bare_median ms, Zorby.exe $zorby_median ms, ratio $(awk -v z="$zorby_median" -v b="$bare_median" 'BEGIN { printf "%.2f", z / b }')"
if [ -n "$other" ]; then
    other_median=$(median <"$work/other")
    echo "median of $other: $other_median ms, ratio $(awk -v z="$other_median" -v b="$bare_median" 'BEGIN { printf "%.2f", z / b }')"
fi
