#!/usr/bin/env bash
# Tries the release in build/release/ (made by scripts/release.sh) as a player gets it:
# - the zip: unpacked into a fresh folder, it holds exactly Zorby.exe, Read Me.txt and LICENSE.txt (the
#   texts with CR LF), and the unpacked Zorby.exe passes the end-to-end test under Wine;
# - the package: installed with apt, the installed zorby checks a copy of the demo folder (exit 0: the
#   patch would complete), its files are where the program and the desktop look for them, and it is
#   removed again, leaving no /usr/bin/zorby.
# The end-to-end test's helpers come from the windows preset (scripts/test-windows.sh builds them).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
release="$top/build/release"

fail() {
    echo "check-release: FAIL: $*" >&2
    exit 1
}
started=$SECONDS
zip=$(ls "$release"/Zorby-*-windows-x64.zip 2>/dev/null || true)
deb=$(ls "$release"/zorby_*.deb 2>/dev/null || true)
[ -f "$zip" ] && [ -f "$deb" ] || fail "no release in $release: run scripts/release.sh"
(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
version=$(dpkg-deb -f "$deb" Version)

work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-check-release-XXXXXX")
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
installed=false
cleanup() {
    if "$installed"; then
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq zorby >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The zip.
mkdir "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
entries=$(unzip -Z1 "$zip" | tr '\n' '|')
[ "$entries" = "Zorby.exe|Read Me.txt|LICENSE.txt|" ] || fail "the zip holds: $entries"
for text in "Read Me.txt" LICENSE.txt; do
    lines=$(wc -l <"$work/unpacked/$text")
    [ "$lines" -gt 10 ] && [ "$(grep -c $'\r$' "$work/unpacked/$text")" -eq "$lines" ] ||
        fail "$text does not end every line with CR LF"
done
grep -q "^Zorby $version"$'\r$' "$work/unpacked/Read Me.txt" || fail "Read Me.txt does not name Zorby $version"
cmake --preset windows >/dev/null
cmake --build build/windows -j 2 --target box_text hold_file >/dev/null
# Wine takes only an absolute WINEPREFIX.
bash tests/e2e/windows_end_to_end.sh "$work/unpacked/Zorby.exe" "$top/build/windows/wine-prefix-e2e" \
    tests/e2e/demo-patched.xml build/windows/tests/e2e/box_text.exe build/windows/tests/e2e/hold_file.exe
echo "check-release: the zip's Zorby.exe passed the end-to-end test ($((SECONDS - started)) s so far)"

# The package.
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get could not install $deb"; }
installed=true
for file in /usr/bin/zorby /usr/share/zorby/help/custom-ui-folder.html /usr/share/man/man1/zorby.1.gz \
    /usr/share/applications/zorby.desktop /usr/share/doc/zorby/copyright; do
    [ -f "$file" ] || fail "the package installed no $file"
done
[ "$(zorby --version)" = "Zorby $version" ] || fail "the installed zorby says: $(zorby --version)"
cp -r demo "$work/demo"
zorby --check "$work/demo/custom" >"$work/check.txt" || fail "zorby --check on the demo folder: exit $?"
grep -q "^Animations: 3 replaced" "$work/check.txt" || fail "unexpected answer: $(cat "$work/check.txt")"
diff -r demo "$work/demo" >/dev/null || fail "zorby --check changed the demo folder"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq zorby >/dev/null
installed=false
[ ! -e /usr/bin/zorby ] || fail "removing the package left /usr/bin/zorby"
echo "check-release: the package installed, checked the demo folder and was removed ($((SECONDS - started)) s in all)"
