#!/usr/bin/env bash
# Runs one Windows program under the tests' Wine prefix and display, e.g.
#   scripts/wine-run.sh build/win64/tests/win/win_tests.exe --gtest_filter='Shell.*'
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
WINEPREFIX_OVERRIDE="${PENRIK_BUILD:-$root/build}/wine-test" PENRIK_UNMANAGED=1
. "$root/scripts/wine-env.sh"
trap stop_all EXIT
trap 'exit 143' TERM INT
start_display
start_wine
"$WINE64" "$@"
