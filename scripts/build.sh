#!/usr/bin/env bash
# Builds the host unit tests, and the 64-bit and the 32-bit (release)
# Windows programs, each with its tests. Trees go under build/.
#   scripts/build.sh [host|fuzz|win64|win32|all] [CMAKE-TARGET]
# With a CMake target only that target is built (the release builds just
# penrik).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PENRIK_BUILD:-$root/build}
jobs=${PENRIK_JOBS:-2}

log=$build/build.log
mkdir -p "$build"
: >"$log"

# Quiet unless something fails.
quiet() {
    if ! "$@" >>"$log" 2>&1; then
        tail -n 60 "$log"
        echo "failed: $*"
        exit 1
    fi
}

configure() {  # dir, extra cmake arguments...
    local dir=$1; shift
    # A tree configured without its tests (as the 32-bit one once was) is
    # configured again.
    if [ ! -f "$dir/CMakeCache.txt" ] || grep -q '^PENRIK_TESTS:BOOL=OFF$' "$dir/CMakeCache.txt"; then
        quiet cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPENRIK_TESTS=ON "$@"
    fi
}

what=${1:-all}
target=${2:+--target $2}
echo "Building ($what${2:+, $2}); log in $log"
if [ "$what" = all ] || [ "$what" = host ]; then
    configure "$build/host"
    quiet cmake --build "$build/host" -j "$jobs" $target
fi
if [ "$what" = all ] || [ "$what" = fuzz ]; then
    configure "$build/fuzz" -DPENRIK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
    quiet cmake --build "$build/fuzz" -j "$jobs" $target
fi
if [ "$what" = all ] || [ "$what" = win64 ]; then
    configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake"
    quiet cmake --build "$build/win64" -j "$jobs" $target
fi
if [ "$what" = all ] || [ "$what" = win32 ]; then
    configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake"
    quiet cmake --build "$build/win32" -j "$jobs" $target
fi
