#!/usr/bin/env bash
# Builds and runs the benchmark under Wine: bench/run.sh [RUNS]
# It generates its own inputs (in Wine's temp folder) and prints one line
# per figure: name, value, unit, baseline, ratio.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/deps.sh || exit 1
./scripts/build.sh win64 || exit 1
WINEPREFIX_OVERRIDE="${PENRIK_BUILD:-$root/build}/wine-bench" PENRIK_UNMANAGED=1
. scripts/wine-env.sh
. scripts/printer.sh
trap 'stop_all; stop_printer' EXIT
trap 'exit 143' TERM INT
start_display
# The printing figure prints to a CUPS PDF queue; Wine sees it as Z:.
if start_printer; then
    export PENRIK_PDF_FOLDER="Z:${PENRIK_PDF_DIR//\//\\}"
fi
start_wine
echo "Penrik benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $("$WINE64" --version 2>/dev/null)"
"$WINE64" "$build/win64/bench/penrik_bench.exe" "$@"
