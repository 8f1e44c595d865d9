#!/usr/bin/env bash
# Times the real program the way a player meets it: from the start of the process until the main window
# is on the screen, with the 25,000-line W1 folder of the benchmarks; and reads its peak memory (VmHWM)
# once the window is up and again after a whole "Patch!", for W1 and for W2 (both lists near the
# 32,767-line limit). A bare Qt window (a caption, a button and a label) is started the same way between
# the two, as the yardstick: what any Qt Widgets program costs. Each run gets fresh folders; prints every
# run, the medians, and Zorby's W1 start and memory as multiples of the bare window's. Given another
# Zorby (an older build, say), it starts on W1 after the bare window in each run and is reported the same
# way.
#
# Usage: bench/startup.sh PATH/TO/Zorby PATH/TO/zorby_make_folder PATH/TO/zorby_bare_window [runs [OTHER]]
#        (default 10 runs; the three programs are built by the default preset)
# Needs Xvfb and xdotool. Runs on its own X server; every wait is bounded.
set -euo pipefail

if [ "$#" -lt 3 ] || [ "$#" -gt 5 ] || [ ! -x "$1" ] || [ ! -x "$2" ] || [ ! -x "$3" ] ||
    { [ "$#" -eq 5 ] && [ ! -x "$5" ]; }; then
    echo "usage: $0 PATH/TO/Zorby PATH/TO/zorby_make_folder PATH/TO/zorby_bare_window [runs [OTHER]]" >&2
    exit 2
fi
zorby=$(realpath "$1")
main_zorby=$zorby
other=${5:+$(realpath "$5")}
make_folder=$(realpath "$2")
bare_window=$(realpath "$3")
runs=${4:-10}
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
readonly bare_title="^Bare Qt window\$"
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

# The X server unmaps the window of a program that has ended a moment later: until then the next start
# would find the old window.
wait_until_gone() {
    local title=$1
    local deadline=$((SECONDS + wait_seconds))
    while timeout 5 xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "a window titled $title still there $wait_seconds s after its program ended"
        sleep 0.01
    done
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

    wait_for_zorby_exit
    [ "$zorby_status" -eq 0 ] || fail "Zorby exited with status $zorby_status"
    wait_until_gone "$main_title"

    # Only a patch that really happened makes the memory figure mean something.
    local lines
    lines=$(grep -c $'\r$' "$folder/custom/EQUI_Animations.xml" || true)
    [ "$lines" -eq "$expected" ] || fail "$workload: patched file has $lines lines, expected $expected"
    if [ -e "$folder/custom/Zor_Anim.txt" ] || [ -e "$folder/custom/Zor_Tex.txt" ]; then
        fail "$workload: add-on files were not deleted"
    fi
    rm -rf "$folder"
}

# The yardstick, started and measured as Zorby is, then ended; sets start_ms and window_mib.
measure_bare_window() {
    local started
    started=$(now_ns)
    "$bare_window" >"$work/logs/zorby.log" 2>&1 &
    zorby_pid=$!
    wait_for_window "$bare_title"
    start_ms=$(milliseconds $((found_ns - started)))
    read_peak
    window_mib=$peak_mib
    stop_process "$zorby_pid"
    zorby_pid=""
    wait_until_gone "$bare_title"
}

echo "Zorby: $zorby; bare window: $bare_window; $runs runs on display $DISPLAY"
echo "start = process start to main window visible; patch = click on Patch! to the Notice box;"
echo "peak = VmHWM with the window up / after the patch (MiB)"
printf '%4s  %11s %11s %10s %10s   %11s %10s   %11s %11s %10s %10s\n' run "W1 start" "W1 patch" "W1 up" \
    "W1 end" "bare start" "bare up" "W2 start" "W2 patch" "W2 up" "W2 end"
columns=(w1_start w1_patch w1_up w1_end bare_start bare_up w2_start w2_patch w2_up w2_end)
for column in "${columns[@]}" other_start other_up; do
    : >"$work/$column"
done
# Zorby and the bare window take turns, so that a slower or busier moment of the machine falls on both.
for run in $(seq "$runs"); do
    measure w1 "$run"
    echo "$start_ms" >>"$work/w1_start"
    echo "$patch_ms" >>"$work/w1_patch"
    echo "$window_mib" >>"$work/w1_up"
    echo "$patched_mib" >>"$work/w1_end"
    measure_bare_window
    echo "$start_ms" >>"$work/bare_start"
    echo "$window_mib" >>"$work/bare_up"
    if [ -n "$other" ]; then
        zorby=$other
        measure w1 "other-$run"
        zorby=$main_zorby
        echo "$start_ms" >>"$work/other_start"
        echo "$window_mib" >>"$work/other_up"
    fi
    measure w2 "$run"
    echo "$start_ms" >>"$work/w2_start"
    echo "$patch_ms" >>"$work/w2_patch"
    echo "$window_mib" >>"$work/w2_up"
    echo "$patched_mib" >>"$work/w2_end"
    values=()
    for column in "${columns[@]}"; do
        values+=("$(tail -n 1 "$work/$column")")
    done
    printf '%4s  %11s %11s %10s %10s   %11s %10s   %11s %11s %10s %10s' "$run" "${values[@]}"
    [ -z "$other" ] || printf '   other %s' "$(tail -n 1 "$work/other_start")"
    printf '\n'
done
medians=()
for column in "${columns[@]}"; do
    medians+=("$(median <"$work/$column")")
done
printf '%4s  %11s %11s %10s %10s   %11s %10s   %11s %11s %10s %10s\n' median "${medians[@]}"
awk -v zs="${medians[0]}" -v bs="${medians[4]}" -v zm="${medians[2]}" -v bm="${medians[5]}" \
    'BEGIN { printf "W1 against the bare window: start %.2fx, peak memory %.2fx\n", zs / bs, zm / bm }'
if [ -n "$other" ]; then
    awk -v os="$(median <"$work/other_start")" -v bs="${medians[4]}" -v om="$(median <"$work/other_up")" \
        -v bm="${medians[5]}" -v name="$other" \
        'BEGIN { printf "%s on W1: start %s ms = %.2fx, peak memory %.2fx\n", name, os, os / bs, om / bm }'
fi
