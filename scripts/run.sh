#!/usr/bin/env bash
# Installs what is missing, builds, and starts Penrik under Wine, e.g.
#   scripts/run.sh            an empty document
#   scripts/run.sh FILE       open FILE (a Linux path is turned into Wine's Z: form)
#   scripts/run.sh --win32 [FILE]   the same with the 32-bit build, the release target
# The editor keeps its own Wine prefix in build/wineprefix, so ~/.wine is
# never touched. With no DISPLAY it starts a virtual one and says so.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

target=win64
if [ "${1:-}" = --win32 ]; then
    target=win32
    shift
fi

./scripts/deps.sh || exit 1
if [ "$target" = win32 ] && ! why=$(scripts/i386-ready.sh); then
    echo "The 32-bit build cannot run here: $why"
    exit 1
fi
./scripts/build.sh "$target" penrik || exit 1

. scripts/wine-env.sh
loader=$WINE64
[ "$target" = win64 ] || loader=$WINE32
trap stop_all EXIT
trap 'exit 143' TERM INT
start_display
if [ -n "$PENRIK_STARTED_X" ]; then
    echo "Penrik runs on the virtual display $DISPLAY; nothing will show on a screen."
fi
start_wine

args=("$@")
if [ ${#args[@]} -gt 0 ] && [ -e "${args[-1]}" ]; then
    args[-1]=$("$WINE64" winepath -w "$(realpath "${args[-1]}")" 2>/dev/null)
fi
"$loader" "$build/$target/penrik.exe" "${args[@]}"
