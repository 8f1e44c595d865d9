#!/usr/bin/env bash
# Counts the comment lines of EQUI_Animations.xml before and after one patch, for the demo folder and the
# benchmark workloads W1 and W2. A patch keeps every comment outside the elements it replaces, so "gone"
# counts only comment lines inside replaced elements.
# Usage: bench/comments-kept.sh BUILD_DIR    (a build of the default preset with zorby_one_patch and
# zorby_make_folder; an older commit's build gives its figures)
set -euo pipefail
build="$(realpath "$1")"
demo="$(realpath "$(dirname "$0")/../demo")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Lines that hold comment text, a comment over several lines counted in full; blank lines do not count.
comment_lines() {
    awk '{ line = $0; sub(/\r$/, "", line); held = open
           while (line != "") {
               if (open) { at = index(line, "-->"); if (!at) break; open = 0; line = substr(line, at + 3) }
               else { at = index(line, "<!--"); if (!at) break; held = 1; open = 1; line = substr(line, at + 4) }
           }
           if (held && $0 !~ /^[ \t\r]*$/) n++ }
         END { print n + 0 }' "$1"
}

printf '%-6s %8s %8s %8s\n' folder before after gone
for folder in demo w1 w2; do
    if [ "$folder" = demo ]; then
        cp -r "$demo" "$work/$folder"
        before="$(comment_lines "$work/$folder/default/EQUI_Animations.xml")"
    else
        "$build/bench/zorby_make_folder" "$work/$folder" "$folder" >/dev/null
        before="$(comment_lines "$work/$folder/custom/EQUI_Animations.xml")"
    fi
    # The add-on items bring comments of their own: the figures after count only the main file's.
    added=$(($(comment_lines "$work/$folder/custom/Zor_Tex.txt") + $(comment_lines "$work/$folder/custom/Zor_Anim.txt")))
    (cd "$work/$folder/custom" && "$build/bench/zorby_one_patch")
    after="$(($(comment_lines "$work/$folder/custom/EQUI_Animations.xml") - added))"
    printf '%-6s %8d %8d %8d\n' "$folder" "$before" "$after" "$((before - after))"
done
