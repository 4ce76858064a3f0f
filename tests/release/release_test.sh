#!/usr/bin/env bash
# Makes the release zips with scripts/release.sh and checks what a Windows
# user gets from them: the files, the program's kind and imports, its
# version resource as Windows reads it, and, for the 32-bit program and the
# 64-bit build of the same sources, that each starts from its unpacked
# folder with examples/hello.c, shows it, saves an edit byte for byte and
# ends on File > Exit with code 0.
#
# Prints "ok   CHECK" or "FAIL CHECK: why" for each check, or "not run CHECK:
# why" when 32-bit programs cannot run here, and exits 1 when one fails. Uses the tests' Wine prefix and display: started here unless
# PENRIK_WINE_UP says the caller has them running.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
WINEPREFIX_OVERRIDE="${PENRIK_BUILD:-$root/build}/wine-test" PENRIK_UNMANAGED=1
. scripts/wine-env.sh
logs=$build/test-logs
mkdir -p "$logs"

work=$(mktemp -d)
cleanup() {
    rm -rf "$work"
    [ -n "${PENRIK_WINE_UP:-}" ] || stop_all
}
trap cleanup EXIT
trap 'exit 143' TERM INT

failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1: $2"; failures=$((failures + 1)); }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# Every DLL penrik.exe may import: all ship with Windows 7 and later. The
# compiler's own runtime DLLs and the Universal CRT must not appear.
system_dlls="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll winspool.drv ws2_32.dll"

# Both zips, each unpacked into a folder of its own.
declare -A zips
for target in win32 win64; do
    if scripts/release.sh "$target" >"$logs/release-$target.log" 2>&1; then
        zips[$target]=$(sed -n 's/^Wrote \(.*\.zip\) ([0-9]* bytes)$/\1/p' "$logs/release-$target.log")
    fi
    if [ -n "${zips[$target]:-}" ] && unzip -q "${zips[$target]}" -d "$work/$target"; then
        pass "release $target: $(basename "${zips[$target]}") ($(stat -c %s "${zips[$target]}") bytes)"
    else
        fail "release $target" "no zip (log in $logs/release-$target.log)"
        zips[$target]=""
    fi
done
if [ -z "${zips[win32]}" ]; then
    echo "1 check failed"
    exit 1
fi
version=$(basename "${zips[win32]}" | sed -n 's/^penrik-\([0-9]*\.[0-9]*\.[0-9]*\)-win32\.zip$/\1/p')
[ -n "$version" ] || fail "zip name" "$(basename "${zips[win32]}") is not penrik-MAJOR.MINOR.PATCH-win32.zip"

# The file list, the examples byte for byte, and text that Notepad shows.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    examples=$(git ls-files examples)
else
    examples=$(find examples -type f)
fi
expected=$(printf '%s\n' penrik.exe README.txt LICENSE.txt examples/ $examples | sort)
crlf_text() {  # file: not empty, and every line, the last too, ends in CRLF
    [ -s "$1" ] && [ "$(grep -c $'\r$' "$1")" -eq "$(wc -l <"$1")" ] &&
        [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n')" = 0d0a ]
}
for target in win32 win64; do
    [ -n "${zips[$target]}" ] || continue
    dir=$work/$target
    listed=$(unzip -Z1 "${zips[$target]}" | sort)
    why=""
    if [ "$listed" != "$expected" ]; then
        why="the zip holds [$(echo $listed)], not [$(echo $expected)]"
    else
        for f in $examples; do
            cmp -s "$f" "$dir/$f" || why="$why $f differs from the repository's;"
        done
        for f in README.txt LICENSE.txt; do
            crlf_text "$dir/$f" || why="$why $f is not CRLF text;"
        done
        grep -q '^Copyright (c) 2026 the Penrik authors'$'\r$' "$dir/LICENSE.txt" ||
            why="$why LICENSE.txt lacks the copyright line;"
    fi
    if [ -z "$why" ]; then pass "files $target"; else fail "files $target" "$why"; fi
done

exe=$work/win32/penrik.exe
headers=$(i686-w64-mingw32-objdump -p -f "$exe" 2>&1)
why=""
grep -q 'file format pei-i386$' <<<"$headers" || why="$why not a pei-i386 file;"
grep -q '^architecture: i386,' <<<"$headers" || why="$why not for i386;"
grep -qP '^Magic\t+010b\t\(PE32\)$' <<<"$headers" || why="$why not PE32;"
grep -qP '^Subsystem\t+00000002\t\(Windows GUI\)$' <<<"$headers" || why="$why not the Windows GUI subsystem;"
grep -q 'HAS_SYMS' <<<"$headers" && why="$why not stripped;"
if [ -z "$why" ]; then pass "penrik.exe is a stripped PE32 i386 GUI image"; else fail "image" "$why"; fi

dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
why=""
for dll in $dlls; do
    tr -s " \n" "\n" <<<"$system_dlls" | grep -qxF -- "$dll" || why="$why $dll"
done
if [ -z "$dlls" ]; then
    fail "imports" "objdump shows no imported DLL"
elif [ -n "$why" ]; then
    fail "imports" "not shipped with Windows:$why"
else
    pass "imports only system DLLs: $(echo $dlls)"
fi

# Both programs may use 4 GB on 64-bit Windows.
for target in win32 win64; do
    objdump=i686-w64-mingw32-objdump
    [ "$target" = win64 ] && objdump=x86_64-w64-mingw32-objdump
    if grep -q 'large address aware' <<<"$("$objdump" -p "$work/$target/penrik.exe" 2>&1)"; then
        pass "the $target penrik.exe is large address aware"
    else
        fail "large address aware $target" "the image header lacks the flag"
    fi
done

# The rest runs Windows code: a small checker, built here.
if [ -z "${PENRIK_WINE_UP:-}" ]; then
    start_display
    start_wine
fi
checker=$work/release_check.exe
if ! x86_64-w64-mingw32-g++-posix -std=c++17 -Wall -Wextra -O1 -static -I"$root" \
        tests/release/release_check.cpp tests/common/windows.cpp -o "$checker" -lversion \
        >"$logs/release-check-build.log" 2>&1; then
    fail "checker" "does not build (log in $logs/release-check-build.log)"
    echo "$failures check(s) failed"
    exit 1
fi

# What the file's properties page shows, read through the version API.
shown=$(timeout 60 "$WINE64" "$checker" version "$(winpath "$exe")" 2>"$logs/release-version.err" | tr -d '\r')
fields="FILEVERSION=$version.0
FileDescription=Penrik text and program editor
FileVersion=$version
ProductName=Penrik
ProductVersion=$version
OriginalFilename=penrik.exe
LegalCopyright=Copyright (c) 2026 the Penrik authors"
if [ "$shown" = "$fields" ]; then
    pass "version resource"
else
    fail "version resource" "$(diff <(echo "$fields") <(echo "$shown") | sed -n 's/^[<>]/&/p' | tr '\n' ' ')"
fi
sed 's/^/       /' <<<"$shown"

# What Windows reads as it starts the program: per-monitor DPI awareness,
# today's common controls, the systems it is made for, no elevation.
manifest=$(timeout 60 "$WINE64" "$checker" manifest "$(winpath "$exe")" 2>"$logs/release-manifest.err" | tr -d '\r')
why=""
for wanted in '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>' \
        '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>' \
        'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' 'publicKeyToken="6595b64144ccf1df"' \
        '<requestedExecutionLevel level="asInvoker"' \
        '35138b9a-5d96-4fbd-8e2d-a2440225f93a' '4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38' \
        '1f676c76-80e1-4239-95bb-83d0f6d0da78' '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'; do
    grep -qF -- "$wanted" <<<"$manifest" || why="$why lacks $wanted;"
done
grep -q 'activeCodePage' <<<"$manifest" && why="$why asks for a code page;"
if [ -z "$why" ]; then pass "the application manifest"; else fail "manifest" "$why"; fi

# The checker is a 64-bit program; the editor it starts runs under the
# loader Wine picks for its width.
i386_why=$(scripts/i386-ready.sh)
for target in win32 win64; do
    [ -n "${zips[$target]}" ] || continue
    check="the unpacked $target build edits examples/hello.c under Wine and exits with 0"
    if [ "$target" = win32 ] && [ -n "$i386_why" ]; then
        echo "not run $check: $i386_why"
        continue
    fi
    timeout 120 "$WINE64" "$checker" run "$(winpath "$work/$target/penrik.exe")" 'examples\hello.c' \
        >"$work/run.out" 2>"$logs/release-run-$target.err"
    rc=$?
    ran=$(tr -d '\r' <"$work/run.out")
    if [ "$rc" -eq 0 ] && grep -q '^saved byte for byte' <<<"$ran" && grep -qx 'exit code 0' <<<"$ran"; then
        pass "$check: $(echo $ran)"
    else
        fail "$check" "$(echo $ran) (status $rc)"
    fi
done

if [ "$failures" -eq 0 ]; then
    echo "all release checks passed"
    exit 0
fi
echo "$failures release check(s) failed"
exit 1
