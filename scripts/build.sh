#!/usr/bin/env bash
# Builds the host unit tests, the 64-bit Windows program with its tests,
# and the 32-bit release program. Trees go under build/.
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
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        quiet cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@"
    fi
}

what=${1:-all}
echo "Building ($what); log in $log"
if [ "$what" = all ] || [ "$what" = host ]; then
    configure "$build/host"
    quiet cmake --build "$build/host" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = fuzz ]; then
    configure "$build/fuzz" -DPENRIK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
    quiet cmake --build "$build/fuzz" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = win64 ]; then
    configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake"
    quiet cmake --build "$build/win64" -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = win32 ]; then
    configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686.cmake" -DPENRIK_TESTS=OFF
    quiet cmake --build "$build/win32" -j "$jobs"
fi
