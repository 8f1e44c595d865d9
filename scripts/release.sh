#!/usr/bin/env bash
# Builds the release of the last commit into build/release/:
#   Zorby-VERSION-windows-x64.zip   Zorby.exe, Read Me.txt and LICENSE.txt (CR LF)
#   zorby_VERSION_ARCH.deb          /usr/bin/zorby, its help page, zorby(1) and a desktop entry for folders
#   SHA256SUMS                      of both
# VERSION is CMake's project version in its record form (3.00). One commit gives the same bytes wherever
# it is built: every time stamp is the commit's, no build path gets into a program, the PE header has
# no link time, and the archives hold their entries in a fixed order with fixed owners and modes. Then
# scripts/check-reproducible.sh builds it again in a fresh clone at another path and compares.
# Usage: scripts/release.sh [--no-check]    (--no-check: build only, as the second build does)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

check=true
case "$*" in
"") ;;
--no-check) check=false ;;
*)
    echo "usage: $0 [--no-check]" >&2
    exit 2
    ;;
esac
fail() {
    echo "release: $*" >&2
    exit 1
}

# A release is the bytes of a commit: changes not committed would be in it under the commit's name.
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    fail "the checkout has changes that are not committed; commit them first"
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
umask 022

scripts/install-deps.sh g++-mingw-w64-x86-64-posix zip dpkg-dev desktop-file-utils

started=$SECONDS
out="$top/build/release"
rm -rf build/release-linux build/release-windows "$out" build/release.commit
for preset in release release-windows; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j 2
done

version_of() { sed -n 's/.*kRecord = "\(.*\)";/\1/p' "$1/generated/Version.h"; }
version=$(version_of build/release-linux)
[ -n "$version" ] && [ "$version" = "$(version_of build/release-windows)" ] ||
    fail "no version, or two versions, in the generated Version.h files"
architecture=$(dpkg --print-architecture)
zip_name="Zorby-$version-windows-x64.zip"
deb_name="zorby_${version}_${architecture}.deb"

work=$(mktemp -d "${TMPDIR:-/tmp}/zorby-release-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
# Every entry gets the commit's time; the archives would otherwise keep the times of this build.
stamp() { find "$@" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }
filled() { sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$(date -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)/g" "$@"; }

# The zip, for Windows: the texts with CR LF, so that Notepad shows their lines.
zip_dir="$work/zip"
mkdir "$zip_dir"
install -m 0755 build/release-windows/app/Zorby.exe "$zip_dir/Zorby.exe"
filled packaging/read-me.txt | sed 's/$/\r/' >"$zip_dir/Read Me.txt"
sed 's/$/\r/' LICENSE >"$zip_dir/LICENSE.txt"
chmod 0644 "$zip_dir/Read Me.txt" "$zip_dir/LICENSE.txt"
stamp "$zip_dir"
# -X: no owner and no access time in extra fields; -D: no entries for folders. TZ=UTC fixes the DOS times.
(cd "$zip_dir" && zip -q -X -D -9 "$out/$zip_name" Zorby.exe "Read Me.txt" LICENSE.txt)

# The Debian package: the project's install rules under /usr, the program's name in lower case.
package="$work/deb"
root="$package/debian/zorby"
DESTDIR="$root" cmake --install build/release-linux --prefix /usr >/dev/null
mv "$root/usr/bin/Zorby" "$root/usr/bin/zorby"
install -d "$root/usr/share/man/man1" "$root/usr/share/applications" "$root/usr/share/doc/zorby" "$root/DEBIAN"
filled packaging/zorby.1.in | gzip -9n >"$root/usr/share/man/man1/zorby.1.gz"
install -m 0644 packaging/zorby.desktop "$root/usr/share/applications/zorby.desktop"
install -m 0644 LICENSE "$root/usr/share/doc/zorby/copyright"
desktop-file-validate "$root/usr/share/applications/zorby.desktop"
find "$root" -type d -exec chmod 0755 {} +
find "$root/usr" -type f ! -path "$root/usr/bin/*" -exec chmod 0644 {} +

# The dependencies are those of the libraries the program links, as their packages state them.
touch "$package/debian/control" # dpkg-shlibdeps reads it, and needs nothing from it here
depends=$(cd "$package" && dpkg-shlibdeps -O -e"$root/usr/bin/zorby" | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || fail "dpkg-shlibdeps found no dependencies"
# Counted as dpkg does: each file in whole KiB, each folder as one.
installed_size=$(find "$root/usr" \( -type f -printf '%s\n' \) -o -printf 'folder\n' |
    awk '{ total += $1 == "folder" ? 1 : int(($1 + 1023) / 1024) } END { print total }')
filled packaging/control.in | sed -e "s/@ARCHITECTURE@/$architecture/" -e "s/@INSTALLED_SIZE@/$installed_size/" \
    -e "s/@DEPENDS@/$depends/" >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
stamp "$root"
# One compressor thread: the same output whatever the machine's core count.
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$root" "$out/$deb_name" >/dev/null

(cd "$out" && sha256sum "$zip_name" "$deb_name" >SHA256SUMS)
echo "$commit" >build/release.commit
echo "release $version of $commit, built in $((SECONDS - started)) s, in $out:"
(cd "$out" && stat -c '  %s bytes  %n' "$zip_name" "$deb_name" && sed 's/^/  /' SHA256SUMS)

if "$check"; then
    scripts/check-reproducible.sh
fi
