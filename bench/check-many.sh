#!/usr/bin/env bash
# Times the author's check of 25 custom UIs of 12,000 to 27,000 lines, each with the W1 add-on pack: one
# run of `Zorby --check` with the 25 folders, against 25 runs of it with one folder each, as a shell loop
# over the folders does. The two forms take turns, round after round, so that a machine whose speed drifts
# moves both; prints every round, the medians and their ratio. Nothing in the folders changes: the check
# writes nothing, which the script confirms at the end.
#
# Usage: bench/check-many.sh PATH/TO/Zorby PATH/TO/zorby_make_folder [rounds]   (default 10 rounds)
set -euo pipefail

if [ "$#" -lt 2 ] || [ "$#" -gt 3 ] || [ ! -x "$1" ] || [ ! -x "$2" ]; then
    echo "usage: $0 PATH/TO/Zorby PATH/TO/zorby_make_folder [rounds]" >&2
    exit 2
fi
zorby=$(realpath "$1")
make_folder=$(realpath "$2")
rounds=${3:-10}
if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]]; then
    echo "rounds must be a positive number, not '$rounds'" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-check-many-XXXXXX")
trap 'rm -rf "$work"' EXIT

folders=()
for n in $(seq 0 24); do
    lines=$((12000 + n * 625))
    "$make_folder" "$work/ui$n" "$lines" >/dev/null
    folders+=("$work/ui$n/custom")
done
before=$(cat "${folders[@]/%//EQUI_Animations.xml}" | sha256sum)

now_ns() {
    date +%s%N
}

one_run() {
    "$zorby" --check "${folders[@]}" >"$work/one.txt"
}

many_runs() {
    local folder
    for folder in "${folders[@]}"; do
        "$zorby" --check "$folder" >>"$work/many.txt"
    done
}

one_run
grep -qx "25 of 25 would complete" "$work/one.txt" || {
    echo "the check of the 25 folders did not complete:" >&2
    tail -n 5 "$work/one.txt" >&2
    exit 1
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

printf '%-6s %12s %12s\n' round "one run ms" "25 runs ms"
one_times=()
many_times=()
for round in $(seq 1 "$rounds"); do
    start=$(now_ns)
    one_run
    one_ms=$((($(now_ns) - start) / 1000000))
    : >"$work/many.txt"
    start=$(now_ns)
    many_runs
    many_ms=$((($(now_ns) - start) / 1000000))
    one_times+=("$one_ms")
    many_times+=("$many_ms")
    printf '%-6d %12d %12d\n' "$round" "$one_ms" "$many_ms"
done

one_median=$(printf '%s\n' "${one_times[@]}" | median)
many_median=$(printf '%s\n' "${many_times[@]}" | median)
printf '%-6s %12s %12s\n' median "$one_median" "$many_median"
awk -v one="$one_median" -v many="$many_median" \
    'BEGIN { printf "25 runs take %.2f times as long as one run of the 25 folders\n", many / one }'

after=$(cat "${folders[@]/%//EQUI_Animations.xml}" | sha256sum)
[ "$before" = "$after" ] || {
    echo "a main file changed during the check" >&2
    exit 1
}
