#!/usr/bin/env bash
# Builds the libFuzzer target of the whole patch and runs it for a bounded time on a scratch copy of the
# seed corpus (the committed corpus never grows from here). Exits non-zero on any finding.
# Usage: scripts/fuzz.sh [seconds]    (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
fuzzer=build/fuzz/tests/fuzz/zorby_patch_fuzzer
findings="$PWD/build/fuzz/findings"

scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2 --target zorby_patch_fuzzer

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$findings"
cp tests/fuzz/corpus/* "$work/corpus/"

status=0
# Every completed patch syncs its files: the runs' folders go to memory where there is some.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}" \
    "$fuzzer" "$work/corpus" -dict="$PWD/tests/fuzz/patch.dict" -max_len=65536 -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    >"$work/log" 2>&1 || status=$?
tail -n 40 "$work/log"

runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)"
speed="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log" | tail -n 1)"
coverage="$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$work/log" | tail -n 1 || true)"
artifacts="$(find "$findings" -type f -newer "$work/corpus" | wc -l)"
if [ "$status" -ne 0 ] || [ "$artifacts" -ne 0 ]; then
    echo "fuzz summary: FINDING after ${runs:-?} runs (exit $status); inputs kept in $findings/"
    exit 1
fi
echo "fuzz summary: no finding in ${seconds}s, ${runs:-?} runs, ${speed:-?} exec/s, ${coverage:-no coverage line}"
