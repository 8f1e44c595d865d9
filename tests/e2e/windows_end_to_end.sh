#!/usr/bin/env bash
# Runs Zorby.exe the way a player does, under Wine on a private X server, driven from outside with
# xdotool: "Patch!" on a copy of the demo folder with the question about the older backup answered Yes
# and the summary read in the notice before it is acknowledged; then "Restore"; then the About box opened with "About", hidden with
# "OK", and the window closed with Alt+F4. Then, with another program (hold_file.exe) holding
# EQUI_Animations.xml open: a patch that the hold outlasts, one that it does not, and a restore. Checks
# the files and exit statuses after each run.
#
# Usage: windows_end_to_end.sh PATH/TO/Zorby.exe WINE-PREFIX EXPECTED-PATCHED-FILE PATH/TO/box_text.exe
#        PATH/TO/hold_file.exe
# Needs Xvfb, xdotool and wine. The prefix is made on first use and kept. Every wait is bounded.
set -euo pipefail

if [ "$#" -ne 5 ] || [ ! -f "$1" ] || [ ! -f "$4" ] || [ ! -f "$5" ]; then
    echo "usage: $0 PATH/TO/Zorby.exe WINE-PREFIX EXPECTED-PATCHED-FILE PATH/TO/box_text.exe PATH/TO/hold_file.exe" >&2
    exit 2
fi
zorby=$(realpath "$1")
expected=$(realpath "$3")
box_text=$(realpath "$4")
hold_file=$(realpath "$5")
demo=$(realpath "$(dirname "$0")/../../demo")
for tool in Xvfb xdotool wine wineserver; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (scripts/test-windows.sh installs it)"
        exit 77
    fi
done

readonly main_title="^Kestrin's EQUI_Animation\\.xml Patcher\$"
readonly wait_seconds=20
# The client area at 96 dots per inch, and the middles of the buttons in it.
readonly client_width=305 client_height=137
readonly patch_x=59 patch_y=25 about_x=243 about_y=25 restore_x=243 restore_y=113 ok_x=155 ok_y=113

work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-wine-e2e-XXXXXX")
custom="$work/custom"
mkdir "$work/logs"
display_ready=false
source "$(dirname "$0")/../support/xvfb-session.sh"

fail() {
    echo "FAIL: $*" >&2
    {
        if "$display_ready"; then
            echo "--- windows on display $DISPLAY:"
            for id in $(timeout 5 xdotool search --name . 2>/dev/null); do
                echo "  $id $(xdotool getwindowname "$id" 2>/dev/null)"
            done
            if command -v import >/dev/null 2>&1 && import -window root "$PWD/windows_end_to_end-failure.png" 2>/dev/null; then
                echo "--- screenshot: $PWD/windows_end_to_end-failure.png"
            fi
        fi
        echo "--- custom folder:"
        ls -la "$custom" || true
        echo "--- Zorby output:"
        cat "$work/logs/zorby.log" 2>/dev/null || true
        echo "--- hold_file output:"
        cat "$work/logs/holder.log" 2>/dev/null || true
    } >&2
    exit 1
}

# The prefix: without a window manager, Wine draws the frames itself and closes windows without a 2 s
# wait; a crash ends the run instead of opening a dialog.
export WINEPREFIX="$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
unset WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    (unset DISPLAY && wineboot --init && wineserver -w) >"$work/logs/wineboot.log" 2>&1 || fail "wineboot failed"
    (unset DISPLAY
     wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
     wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
     wineserver -w) >>"$work/logs/wineboot.log" 2>&1 || fail "wine reg failed"
fi

start_private_xvfb
display_ready=true
# One Wine server for the three runs, on this display.
wineserver -k 2>/dev/null || true
wineserver -p
stop_wine() { wineserver -k 2>/dev/null || true; }
holder_pid=""
trap 'stop_process "$holder_pid"; stop_wine; cleanup' EXIT

wait_until_gone() {
    local title=$1
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        [ -n "$(timeout 5 xdotool search --onlyvisible --name "$title" 2>/dev/null)" ] || return 0
        sleep 0.1
    done
    fail "the window titled $title is still there after $wait_seconds s"
}

# Wine draws the frame itself: the X window is the frame, the client area sits inside its borders and
# below its caption. Sets frame_x and frame_y to the client area's offset.
client_offset() {
    local id=$1 width=$2 height=$3 geometry
    geometry=$(xdo getwindowgeometry --shell "$id")
    local outer_width outer_height
    outer_width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
    outer_height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
    frame_x=$(((outer_width - width) / 2))
    frame_y=$((outer_height - height - frame_x))
}

click_at() {
    local id=$1 x=$2 y=$3
    # The plate lights up on hover; the pause lets the program see the pointer arrive before the press.
    xdo mousemove --window "$id" "$((frame_x + x))" "$((frame_y + y))"
    sleep 0.2
    xdo click 1
}

# A real key press reaches the box that has the keyboard (never `key --window`: see the notes).
answer_box() {
    local title=$1 key=$2
    wait_for_window "$title"
    sleep 0.2
    xdo key "$key"
}

# Started in the custom folder, or with arguments (the folder, as dropping it on Zorby.exe gives it) from
# the logs folder.
start_zorby() {
    if [ "$#" -eq 0 ]; then
        (cd "$custom" && exec wine "$zorby") >"$work/logs/zorby.log" 2>&1 &
    else
        (cd "$work/logs" && exec wine "$zorby" "$@") >"$work/logs/zorby.log" 2>&1 &
    fi
    zorby_pid=$!
    wait_for_window "$main_title"
    main_window=$found_window
    client_offset "$main_window" "$client_width" "$client_height"
}

wait_for_exit() {
    wait_for_zorby_exit
    [ "$zorby_status" -eq 0 ] || fail "Zorby exited with status $zorby_status"
}

# --- The demo folder, with an older backup, so that Zorby asks before replacing it.
cp -r "$demo/default" "$demo/custom" "$work/"
printf '%s\r\n' '<?xml version="1.0" encoding="us-ascii"?>' '<!-- an older backup -->' >"$custom/EQUI_An.xml"

# What the demo's add-on files do, as the check foretells it and the notice then tells it.
merged="Textures: 1 replaced (demo_gauges01.tga), 1 added (demo_glow01.tga).
Animations: 3 replaced (A_DemoGaugeFill, A_DemoCursorBusy, A_DemoButtonPressed), \
2 added (A_DemoGaugeGlow, A_DemoIconSparkle)."
removed="The add-on files are removed."

# --- An add-on author checks the add-on against this UI and another in one command, in a console, then
# the same for scripts: the summary, a refusal, and exit 1.
mkdir -p "$work/uis/empty"
status=0
check=$(cd "$work" && wine "$zorby" --check custom uis/empty 2>"$work/logs/check.log" | tr -d '\r') || status=$?
[ "$status" -eq 1 ] || fail "the check of two UIs exited with $status: $(cat "$work/logs/check.log")"
[ "$check" = "== custom
EQUI_Animations.xml is not in this folder: the patch will first copy it from \
..\\default\\EQUI_Animations.xml.
$merged
Zorby will ask before it replaces the older backup EQUI_An.xml.
$removed
== uis/empty
You are attempting to run zorby.exe from a directory that is not your custom ui directory.
Please reinstall to your custom ui directory and try again
1 of 2 would complete" ] || fail "the check printed: $check"
json=$(cd "$work" && wine "$zorby" --check --format json custom uis/empty 2>/dev/null) || true
python3 -c '
import json, sys
report = json.loads(sys.argv[1])
first, second = report["folders"]
assert (report["checked"], report["complete"]) == (2, 1), report
assert first["result"] == "complete" and len(first["animations"]["replaced"]) == 3, first
assert second["result"] == "refused", second
' "$json" || fail "the check for scripts printed: $json"

# --- Patch, with the folder dropped on Zorby.exe, and the summary read in the notice, as the player reads it.
start_zorby "$(winepath -w "$custom" 2>/dev/null)"
click_at "$main_window" "$patch_x" "$patch_y"
answer_box '^Confirm$' y
wait_for_window '^Notice$'
notice=$(wine "$box_text" Notice | tr -d '\r') || fail "no notice to read"
[ "$notice" = "Patch Completed - if you have problems, re-run this program and select 'Restore'

$merged
The file as it was is kept as EQUI_An.xml.
$removed" ] || fail "the notice says: $notice"
answer_box '^Notice$' Return
wait_for_exit
problems=()
cmp -s "$expected" "$custom/EQUI_Animations.xml" || problems+=("EQUI_Animations.xml differs from $expected")
cmp -s "$work/default/EQUI_Animations.xml" "$custom/EQUI_An.xml" ||
    problems+=("EQUI_An.xml is not the main file as it was before the patch")
for addOn in Zor_Anim.txt Zor_Tex.txt; do
    [ ! -e "$custom/$addOn" ] || problems+=("$addOn was not deleted")
done
[ "${#problems[@]}" -eq 0 ] || fail "after Patch: $(printf '%s\n' "${problems[@]}")"

# --- Restore.
start_zorby
click_at "$main_window" "$restore_x" "$restore_y"
answer_box '^Notice$' Return
wait_for_exit
cmp -s "$work/default/EQUI_Animations.xml" "$custom/EQUI_Animations.xml" ||
    fail "after Restore: EQUI_Animations.xml is not the backup"
[ ! -e "$custom/EQUI_An.xml" ] || fail "after Restore: EQUI_An.xml is still there"

# --- About, OK, and closing the window.
start_zorby
click_at "$main_window" "$about_x" "$about_y"
wait_for_window '^About Patcher$'
about_window=$found_window
# The About box's client area at 96 dots per inch: 4605 by 2175 twips.
client_offset "$about_window" 307 145
click_at "$about_window" "$ok_x" "$ok_y"
wait_until_gone '^About Patcher$'
client_offset "$main_window" "$client_width" "$client_height"
click_at "$main_window" 150 70
xdo key alt+F4
wait_for_exit

# --- Another program holds EQUI_Animations.xml open: the folder, with the main file and an older backup in
# it, so that Zorby asks before it writes and the hold can start while the question is open.
rm -rf "$custom"
cp -r "$demo/custom" "$work/"
cp "$work/default/EQUI_Animations.xml" "$custom/"
printf '%s\r\n' '<?xml version="1.0" encoding="us-ascii"?>' '<!-- an older backup -->' >"$custom/EQUI_An.xml"

# Every entry with its kind, mode, size and bytes, hidden ones included.
snapshot() { (cd "$custom" && find . -printf '%y %m %s %p\n' | sort && find . -type f -exec md5sum {} + | sort); }

# Holds the main file for $1 ms; with a second argument, from the moment $work/hold-now exists.
start_holder() {
    rm -f "$work/hold-now"
    (cd "$custom" && exec wine "$hold_file" EQUI_Animations.xml "$1" ${2:+'..\hold-now'}) \
        >"$work/logs/holder.log" 2>&1 &
    holder_pid=$!
}

wait_until_held() {
    local deadline=$((SECONDS + wait_seconds))
    until grep -q '^holding' "$work/logs/holder.log"; do
        kill -0 "$holder_pid" 2>/dev/null || fail "hold_file ended without holding the file"
        [ "$SECONDS" -lt "$deadline" ] || fail "hold_file held nothing within $wait_seconds s"
        sleep 0.05
    done
}

# Patch, with the hold starting while the backup question is open and the question then answered Yes.
patch_while_held() {
    start_holder "$1" on-trigger
    start_zorby
    click_at "$main_window" "$patch_x" "$patch_y"
    wait_for_window '^Confirm$'
    touch "$work/hold-now"
    wait_until_held
    answer_box '^Confirm$' y
}

# The notice names the file in use; once it is acknowledged Zorby ends with 1 and nothing has changed.
expect_in_use() {
    local step=$1 before=$2
    wait_for_window '^File In Use$'
    notice=$(wine "$box_text" 'File In Use' | tr -d '\r') || fail "$step: no notice to read"
    [ "$notice" = "The file EQUI_Animations.xml is in use by another program - please close the program \
that has it open (the game, an editor) and try again" ] || fail "$step: the notice says: $notice"
    answer_box '^File In Use$' Return
    wait_for_zorby_exit
    [ "$zorby_status" -eq 1 ] || fail "$step: Zorby exited with status $zorby_status"
    [ "$(snapshot)" = "$before" ] || fail "$step: the folder changed: $(diff <(echo "$before") <(snapshot))"
    stop_process "$holder_pid"
    holder_pid=""
}

# --- Held for 15 s: Zorby waits about 2 s, then names the file in use and writes nothing.
before=$(snapshot)
patch_while_held 15000
expect_in_use "Patch while held for 15 s" "$before"

# --- Held for 1.5 s, as a virus scanner holds a file: Zorby waits for it and the patch completes.
patch_while_held 1500
! grep -q '^released' "$work/logs/holder.log" || fail "the hold ended before the answer: nothing was tested"
wait_for_window '^Notice$'
notice=$(wine "$box_text" Notice | tr -d '\r') || fail "no notice to read"
[[ "$notice" == "Patch Completed - "* ]] || fail "patch while held for 1.5 s: the notice says: $notice"
answer_box '^Notice$' Return
wait_for_exit
stop_process "$holder_pid"
holder_pid=""
cmp -s "$expected" "$custom/EQUI_Animations.xml" || fail "patch while held for 1.5 s: the file is not patched"
cmp -s "$work/default/EQUI_Animations.xml" "$custom/EQUI_An.xml" ||
    fail "patch while held for 1.5 s: EQUI_An.xml is not the main file as it was before the patch"

# --- Restore while the main file is held.
before=$(snapshot)
start_holder 15000
wait_until_held
start_zorby
click_at "$main_window" "$restore_x" "$restore_y"
expect_in_use "Restore while held" "$before"

echo "PASS: Zorby.exe patched the demo folder, restored it, showed and hid the About box, and waited for a held file or named it"
