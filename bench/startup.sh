#!/usr/bin/env bash
# Times the real program the way a player meets it: from the start of the process until the main window
# is on the screen, with the 25,000-line W1 folder of the benchmarks; and reads its peak memory (VmHWM)
# once the window is up and again after a whole "Patch!", for W1 and for W2 (both lists near the
# 32,767-line limit). Each run gets fresh folders; prints every run and the medians.
#
# Usage: bench/startup.sh PATH/TO/Zorby PATH/TO/zorby_make_folder [runs]    (default 10 runs)
# Needs Xvfb and xdotool. Runs on its own X server; every wait is bounded.
set -euo pipefail

if [ "$#" -lt 2 ] || [ "$#" -gt 3 ] || [ ! -x "$1" ] || [ ! -x "$2" ]; then
    echo "usage: $0 PATH/TO/Zorby PATH/TO/zorby_make_folder [runs]" >&2
    exit 2
fi
zorby=$(realpath "$1")
make_folder=$(realpath "$2")
runs=${3:-10}
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "runs must be a positive number, not '$runs'" >&2
    exit 2
fi
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed (scripts/install-deps.sh installs it)" >&2
        exit 2
    fi
done

readonly main_title="^Kestrin's EQUI_Animation\\.xml Patcher\$"
readonly wait_seconds=15
# "Patch!" is a 103 by 35 button at client pixel (8, 8): aim at its middle.
readonly patch_x=59 patch_y=25

work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-startup-XXXXXX")
mkdir "$work/logs"
source "$(dirname "$0")/../tests/support/xvfb-session.sh"

fail() {
    echo "FAIL: $*" >&2
    echo "--- Zorby output:" >&2
    cat "$work/logs/zorby.log" 2>/dev/null >&2 || true
    exit 1
}

now_ns() {
    date +%s%N
}

start_private_xvfb

xdo() {
    timeout 5 xdotool "$@" >/dev/null || fail "xdotool $* failed or timed out"
}

# Sets found_window to the first visible window whose title matches, probing about every 5 ms, and
# found_ns to the time the successful probe returned. An "Error" box or the end of Zorby ends the wait.
found_window=""
found_ns=0
wait_for_window() {
    local title=$1
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        found_window=$(timeout 5 xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
        found_ns=$(now_ns)
        [ -z "$found_window" ] || return 0
        if ! kill -0 "$zorby_pid" 2>/dev/null; then
            local status=0
            wait "$zorby_pid" || status=$?
            zorby_pid=""
            fail "Zorby ended (status $status) while waiting for a window titled $title"
        fi
        if timeout 5 xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1; then
            fail "Zorby showed an error box while waiting for a window titled $title"
        fi
        sleep 0.005
    done
    fail "no window titled $title within $wait_seconds s"
}

# Sets peak_mib to Zorby's peak resident memory so far.
peak_mib=""
read_peak() {
    local kib
    kib=$(awk '$1 == "VmHWM:" { print $2 }' "/proc/$zorby_pid/status" 2>/dev/null || true)
    [ -n "$kib" ] || fail "no VmHWM for Zorby (process $zorby_pid)"
    peak_mib=$(awk -v kib="$kib" 'BEGIN { printf "%.1f", kib / 1024 }')
}

milliseconds() {
    awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One player's run on a fresh folder of the workload; sets start_ms, patch_ms, window_mib, patched_mib.
measure() {
    local workload=$1 folder="$work/$1-$2"
    local expected
    expected=$("$make_folder" "$folder" "$workload" | sed -n 's/.*; \([0-9]*\) lines after a patch$/\1/p')
    [ -n "$expected" ] || fail "zorby_make_folder gave no line count for $workload"

    local started
    cd "$folder/custom"
    started=$(now_ns)
    "$zorby" >"$work/logs/zorby.log" 2>&1 &
    zorby_pid=$!
    cd "$work"
    wait_for_window "$main_title"
    start_ms=$(milliseconds $((found_ns - started)))
    read_peak
    window_mib=$peak_mib

    # The plate lights up on hover; the pause lets the program see the pointer arrive before the press.
    local main_window=$found_window clicked
    xdo mousemove --window "$main_window" "$patch_x" "$patch_y"
    sleep 0.1
    clicked=$(now_ns)
    xdo click 1
    wait_for_window '^Notice$'
    patch_ms=$(milliseconds $((found_ns - clicked)))
    read_peak
    patched_mib=$peak_mib
    xdo windowfocus --sync "$found_window"
    xdo key Return

    local deadline=$((SECONDS + wait_seconds))
    while kill -0 "$zorby_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.01
    done
    kill -0 "$zorby_pid" 2>/dev/null && fail "Zorby still running $wait_seconds s after the notice was answered"
    local status=0
    wait "$zorby_pid" || status=$?
    zorby_pid=""
    [ "$status" -eq 0 ] || fail "Zorby exited with status $status"

    # Only a patch that really happened makes the memory figure mean something.
    local lines
    lines=$(grep -c $'\r$' "$folder/custom/EQUI_Animations.xml" || true)
    [ "$lines" -eq "$expected" ] || fail "$workload: patched file has $lines lines, expected $expected"
    if [ -e "$folder/custom/Zor_Anim.txt" ] || [ -e "$folder/custom/Zor_Tex.txt" ]; then
        fail "$workload: add-on files were not deleted"
    fi
    rm -rf "$folder"
}

echo "Zorby: $zorby; $runs runs on display $DISPLAY"
echo "start = process start to main window visible; patch = click on Patch! to the Notice box;"
echo "peak = VmHWM with the window up / after the patch (MiB)"
printf '%4s  %14s %14s %11s %11s   %14s %14s %11s %11s\n' run "W1 start ms" "W1 patch ms" "W1 peak up" \
    "W1 peak end" "W2 start ms" "W2 patch ms" "W2 peak up" "W2 peak end"
for column in w1_start w1_patch w1_up w1_end w2_start w2_patch w2_up w2_end; do
    : >"$work/$column"
done
for run in $(seq "$runs"); do
    measure w1 "$run"
    echo "$start_ms" >>"$work/w1_start"
    echo "$patch_ms" >>"$work/w1_patch"
    echo "$window_mib" >>"$work/w1_up"
    echo "$patched_mib" >>"$work/w1_end"
    row=$(printf '%14s %14s %11s %11s' "$start_ms" "$patch_ms" "$window_mib" "$patched_mib")
    measure w2 "$run"
    echo "$start_ms" >>"$work/w2_start"
    echo "$patch_ms" >>"$work/w2_patch"
    echo "$window_mib" >>"$work/w2_up"
    echo "$patched_mib" >>"$work/w2_end"
    printf '%4s  %s   %14s %14s %11s %11s\n' "$run" "$row" "$start_ms" "$patch_ms" "$window_mib" "$patched_mib"
done
printf '%4s  %14s %14s %11s %11s   %14s %14s %11s %11s\n' median \
    "$(median <"$work/w1_start")" "$(median <"$work/w1_patch")" "$(median <"$work/w1_up")" \
    "$(median <"$work/w1_end")" "$(median <"$work/w2_start")" "$(median <"$work/w2_patch")" \
    "$(median <"$work/w2_up")" "$(median <"$work/w2_end")"
