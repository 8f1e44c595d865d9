#!/usr/bin/env bash
# Patches a custom UI folder the way a player does: a real Zorby window on a private X server, started
# from elsewhere with the folder as its argument, the pointer moved onto "Patch!" and clicked, the backup
# question answered Yes and the closing notice acknowledged, all from outside the program. Then checks
# what is left in the folder. First, an add-on author checks the folder and another UI in one command.
#
# Usage: patch_end_to_end.sh PATH/TO/Zorby
# Needs Xvfb and xdotool. Every wait is bounded; on failure the open windows and the program's output
# are printed, and a screenshot is kept in the current directory when ImageMagick's `import` exists.
set -euo pipefail

if [ "$#" -ne 1 ] || [ ! -x "$1" ]; then
    echo "usage: $0 PATH/TO/Zorby" >&2
    exit 2
fi
zorby=$(realpath "$1")
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

readonly main_title="^Kestrin's EQUI_Animation\\.xml Patcher\$"
readonly wait_seconds=15
# "Patch!" is a 103 by 35 button at client pixel (8, 8): aim at its middle.
readonly patch_x=59 patch_y=25

work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-e2e-XXXXXX")
custom="$work/custom"
mkdir "$work/default" "$custom" "$work/logs"

# Set once our own server answers: only then are its windows listed or photographed on failure.
display_ready=false

source "$(dirname "$0")/../support/xvfb-session.sh"

show_windows() {
    echo "--- windows on display $DISPLAY:"
    local id
    for id in $(timeout 5 xdotool search --name . 2>/dev/null); do
        echo "  $id $(xdotool getwindowname "$id" 2>/dev/null) (map state: $(map_state "$id"))"
    done
}

map_state() {
    if command -v xwininfo >/dev/null 2>&1; then
        xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Map State: //p' || true
    fi
}

fail() {
    echo "FAIL: $*" >&2
    {
        if "$display_ready"; then
            show_windows
            if command -v import >/dev/null 2>&1 && import -window root "$PWD/patch_end_to_end-failure.png" 2>/dev/null; then
                echo "--- screenshot: $PWD/patch_end_to_end-failure.png"
            fi
        fi
        echo "--- custom folder:"
        ls -la "$custom" || true
        echo "--- Zorby output:"
        cat "$work/logs/zorby.log" 2>/dev/null || true
        echo "--- Xvfb output:"
        cat "$work/logs/xvfb.log" 2>/dev/null || true
    } >&2
    exit 1
}

# Lines joined with CR LF after each, the way the game's files and Zorby's output are written.
crlf() {
    printf '%s\r\n' "$@"
}

# --- The folder: a main file, both add-on files and an older backup, so that Zorby asks first.
tab=$'\t'
crlf '<?xml version="1.0" encoding="us-ascii"?>' '<XML ID="EQInterfaceDefinitionLanguage">' \
    '<Schema xmlns="EverQuestData" xmlns:dt="EverQuestDataTypes"/>' '' '<!-- Textures -->' \
    '<TextureInfo item="A">' '    <Size>1</Size>' '</TextureInfo>' '<TextureInfo item="B">' \
    "$tab<Size>2</Size>" '</TextureInfo>' '<Loose/>' '<Ui2DAnimation item="P">' \
    '        <Cycle>true</Cycle>' '</Ui2DAnimation>' '<Ui2DAnimation item="Q">' '  <Cycle>false</Cycle>' \
    '</Ui2DAnimation>' '</XML>' >"$custom/EQUI_Animations.xml"
crlf '<TextureInfo item="B">' '  <Size>22</Size>' '  <File>b.tga</File>' '  <Hot>0</Hot>' '</TextureInfo>' \
    '<TextureInfo item="C">' '  <Size>3</Size>' '</TextureInfo>' >"$custom/Zor_Tex.txt"
crlf '<Ui2DAnimation item="R">' '   <Cycle>true</Cycle>' '</Ui2DAnimation>' '   <Ui2DAnimation item="P">' \
    '   </Ui2DAnimation>' >"$custom/Zor_Anim.txt"
crlf '<?xml version="1.0" encoding="us-ascii"?>' '<!-- an older backup -->' >"$custom/EQUI_An.xml"
cp "$custom/EQUI_Animations.xml" "$work/main-before.xml"

crlf '<?xml version="1.0" encoding="us-ascii"?>' '<XML ID="EQInterfaceDefinitionLanguage">' \
    '<Schema xmlns="EverQuestData" xmlns:dt="EverQuestDataTypes"/>' '<!-- Textures -->' \
    '<TextureInfo item="A">' "$tab$tab$tab$tab<Size>1</Size>" '</TextureInfo>' '<TextureInfo item="B">' \
    '  <Size>22</Size>' '  <File>b.tga</File>' '  <Hot>0</Hot>' '</TextureInfo>' '<TextureInfo item="C">' \
    '  <Size>3</Size>' '</TextureInfo>' '   <Ui2DAnimation item="P">' '   </Ui2DAnimation>' \
    '<Ui2DAnimation item="Q">' "$tab$tab<Cycle>false</Cycle>" '</Ui2DAnimation>' '<Ui2DAnimation item="R">' \
    '   <Cycle>true</Cycle>' '</Ui2DAnimation>' '<Loose/>' '</XML>' >"$work/expected.xml"

start_private_xvfb
display_ready=true

# Gives the window the keyboard and presses one key there.
answer_box() {
    local id=$1 key=$2
    xdo windowfocus --sync "$id"
    xdo key "$key"
}

# --- An add-on author checks the add-on against two UIs in one command, as the README shows, then the
# same for scripts: the summary, a refusal, exit 1, and not a byte changed.
mkdir -p "$work/uis/empty"
before=$(cd "$custom" && ls -la --time-style=full-iso && cat ./*)
status=0
check=$(cd "$work" && "$zorby" --check custom uis/empty) || status=$?
[ "$status" -eq 1 ] || fail "the check of two UIs exited with $status"
[ "$check" = "== custom
Textures: 1 replaced (B), 1 added (C).
Animations: 1 replaced (P), 1 added (R).
Zorby will ask before it replaces the older backup EQUI_An.xml.
The add-on files are removed.
== uis/empty
You are attempting to run zorby.exe from a directory that is not your custom ui directory.
Please reinstall to your custom ui directory and try again
1 of 2 would complete" ] || fail "the check printed: $check"
json=$(cd "$work" && "$zorby" --check --format json custom uis/empty) || true
python3 -c '
import json, sys
report = json.loads(sys.argv[1])
first, second = report["folders"]
assert (report["checked"], report["complete"]) == (2, 1), report
assert first["result"] == "complete" and first["textures"] == {"replaced": ["B"], "added": ["C"]}, first
assert second["result"] == "refused" and second["refusal"]["text"].startswith("You are attempting"), second
' "$json" || fail "the check for scripts printed: $json"
[ "$before" = "$(cd "$custom" && ls -la --time-style=full-iso && cat ./*)" ] || fail "the check changed the folder"

# --- A player opens the folder with Zorby from elsewhere ("Open with" on the folder).
(cd "$work/logs" && exec "$zorby" "$custom") >"$work/logs/zorby.log" 2>&1 &
zorby_pid=$!

wait_for_window "$main_title"
# The plate lights up on hover; the pause lets the program see the pointer arrive before the press.
xdo mousemove --window "$found_window" "$patch_x" "$patch_y"
sleep 0.1
xdo click 1

wait_for_window '^Confirm$'
answer_box "$found_window" y

wait_for_window '^Notice$'
answer_box "$found_window" Return

wait_for_zorby_exit

# --- What the run left behind.
problems=()
[ "$zorby_status" -eq 0 ] || problems+=("Zorby exited with status $zorby_status")
cmp -s "$work/expected.xml" "$custom/EQUI_Animations.xml" ||
    problems+=("EQUI_Animations.xml differs from the expected output:
$(diff <(cat -A "$work/expected.xml") <(cat -A "$custom/EQUI_Animations.xml" 2>&1) || true)")
cmp -s "$work/main-before.xml" "$custom/EQUI_An.xml" ||
    problems+=("EQUI_An.xml is not the main file as it was before the patch")
for addOn in Zor_Anim.txt Zor_Tex.txt; do
    [ ! -e "$custom/$addOn" ] || problems+=("$addOn was not deleted")
done

if [ "${#problems[@]}" -gt 0 ]; then
    fail "$(printf '%s\n' "${problems[@]}")"
fi
echo "PASS: patched through the window; output, backup and add-on files as expected"
