#!/usr/bin/env bash
# Builds the release and packs what a Windows user downloads:
#   scripts/release.sh [win32|win64]     (default win32, the release target)
# writes build/penrik-<version>-<target>.zip with penrik.exe (stripped),
# README.txt and LICENSE.txt (CRLF line ends) and examples/. The version is
# the project's, from CMakeLists.txt. The 64-bit zip is the one that can run
# under Wine on a 64-bit-only machine; the tests use it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${PENRIK_BUILD:-$root/build}
target=${1:-win32}
case $target in
    win32) strip=i686-w64-mingw32-strip ;;
    win64) strip=x86_64-w64-mingw32-strip ;;
    *) echo "usage: scripts/release.sh [win32|win64]" >&2; exit 2 ;;
esac

./scripts/deps.sh
./scripts/build.sh "$target" penrik

tree=$build/$target
version=$(sed -n 's/^#define PENRIK_VERSION_TEXT *"\(.*\)"$/\1/p' "$tree/penrik_version.h")
if [ -z "$version" ]; then
    echo "no version in $tree/penrik_version.h" >&2
    exit 1
fi
zip=$build/penrik-$version-$target.zip
stage=$build/release-$target
rm -rf "$stage" "$zip"
mkdir -p "$stage"

"$strip" -o "$stage/penrik.exe" "$tree/penrik.exe"
# Windows users read these in Notepad: CRLF, whatever the checkout has.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }
crlf dist/README.txt "$stage/README.txt"
crlf LICENSE "$stage/LICENSE.txt"
# The examples as the repository holds them (penrik.bat has its own CRLF),
# without whatever a build of them left beside them.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z examples | xargs -0 cp --parents -t "$stage"
else
    cp -r examples "$stage/"
fi
(cd "$stage" && zip -q -X -r "$zip" penrik.exe README.txt LICENSE.txt examples)

unzip -l "$zip"
echo "Wrote $zip ($(stat -c %s "$zip") bytes)"
