#!/usr/bin/env bash
# Makes the README's picture: the 32-bit release, unpacked from its zip
# into C:\Penrik, showing examples/hello.c on a virtual display of its own,
# taken with ImageMagick's import and cut to the editor's window. Uses a
# Wine prefix of its own (build/wine-shot) that also holds Wine's Marlett
# font, which draws the caption's buttons.
#   scripts/screenshot.sh [--scale PERCENT] [PNG]   (default 100 and docs/penrik.png)
# With a scale the display has that many percent of 96 DPI (150: 144 DPI,
# 200: 192 DPI), as Windows' display settings give it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scale=100
if [ "${1:-}" = --scale ]; then
    scale=${2:?--scale needs a percentage}
    shift 2
fi
out=$(realpath -m "${1:-docs/penrik.png}")
dpi=$((96 * scale / 100))
# Room for the window at its scaled size.
export PENRIK_SCREEN="$((1024 * scale / 100))x$((768 * scale / 100))"

./scripts/deps.sh || exit 1
if ! why=$(scripts/i386-ready.sh); then
    echo "cannot run the 32-bit release here: $why"
    exit 1
fi
./scripts/release.sh win32 >/dev/null || exit 1
zip=$(ls -t build/penrik-*-win32.zip | head -n 1)

WINEPREFIX_OVERRIDE="${PENRIK_BUILD:-$root/build}/wine-shot" PENRIK_UNMANAGED=1
. scripts/wine-env.sh
work=""
finish() {
    stop_all
    [ -z "$work" ] || rm -rf "$work"
}
trap finish EXIT
trap 'exit 143' TERM INT

# A display of its own, whatever DISPLAY says: nothing else is in the picture.
unset DISPLAY
start_display >/dev/null
start_wine
# The first start's layout: no settings file; the display's scale, which
# Wine reads as each program starts.
rm -f "$WINEPREFIX/drive_c/windows/Marravel.ini"
"$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
    echo "the display scale could not be set"
fonts=$WINEPREFIX/drive_c/windows/Fonts
if [ ! -f "$fonts/marlett.ttf" ]; then
    scratch=$(mktemp -d)
    (cd "$scratch" && apt-get download -qq fonts-wine 2>/dev/null && dpkg-deb -x fonts-wine_*.deb .) &&
        cp "$scratch/usr/share/wine/fonts/marlett.ttf" "$fonts/" ||
        echo "no Marlett font (fonts-wine): the caption's buttons show as letters"
    rm -rf "$scratch"
fi
work=$WINEPREFIX/drive_c/Penrik
rm -rf "$work"
unzip -q "$zip" -d "$work"

(cd "$work" && "$WINE32" penrik.exe 'examples\hello.c' >/dev/null 2>&1) &

# Wine draws the frame itself (the prefix is unmanaged), so the X window
# holds the whole Windows window, caption and menu included.
window=""
for _ in $(seq 300); do
    window=$(xwininfo -root -tree 2>/dev/null | grep -m 1 '"PENRIK - ' | awk '{print $1}')
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "the editor's window did not show"
    exit 1
fi
sleep 3  # until the toolbar, the status panel and the text are drawn
geometry=$(xwininfo -id "$window" | awk '
    /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /Width:/ {w = $NF} /Height:/ {h = $NF}
    END {printf "%dx%d+%d+%d", w, h, x, y}')
mkdir -p "$(dirname "$out")"
import -window root -crop "$geometry" +repage "$out" || exit 1
echo "Wrote $out ($geometry of the display)"
