#!/usr/bin/env bash
# Builds the release of the same commit again, in a fresh clone at another path (and a path of another
# length), and compares both files byte for byte with build/release/, which scripts/release.sh made.
# A difference fails the check and keeps the second build for comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

commit=$(cat build/release.commit 2>/dev/null || true)
[ -f build/release/SHA256SUMS ] && [ -n "$commit" ] || {
    echo "check-reproducible: no release built yet: run scripts/release.sh" >&2
    exit 1
}
started=$SECONDS
base=$(mktemp -d "${TMPDIR:-/tmp}/zorby-rebuild-XXXXXX")
clone="$base/second/clone/of/zorby"
git clone --quiet --no-checkout "$top" "$clone"
git -C "$clone" checkout --quiet --detach "$commit"
"$clone/scripts/release.sh" --no-check

differ=0
while read -r _ name; do
    if cmp "build/release/$name" "$clone/build/release/$name"; then
        echo "same bytes: $name"
    else
        differ=1
    fi
done <build/release/SHA256SUMS
cmp build/release/SHA256SUMS "$clone/build/release/SHA256SUMS" || differ=1

if [ "$differ" -ne 0 ]; then
    echo "check-reproducible: FAILED: two builds of $commit differ; the second is kept in $clone/build/release" >&2
    exit 1
fi
rm -rf "$base"
echo "check-reproducible: two builds of $commit, in $top and in $clone, are byte-identical ($((SECONDS - started)) s)"
