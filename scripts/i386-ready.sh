#!/usr/bin/env bash
# Exits 0 when 32-bit Windows programs can run here: Wine's 32-bit loader
# is installed and starts (natively or under the i386 emulator). Otherwise
# prints one line saying why (unless --quiet) and exits 1.
loader=/usr/lib/wine/wine
why=""
if [ ! -x "$loader" ]; then
    why="Wine's 32-bit loader $loader is not installed (wine32:i386)"
elif [ ! -e /usr/lib/wine/wine-preloader ]; then
    why="Wine's 32-bit preloader is not installed (wine32-preloader:i386)"
elif ! out=$("$loader" --version 2>&1); then
    why="$loader does not start: $(echo "$out" | head -n 1)"
fi
if [ -n "$why" ]; then
    [ "${1:-}" = --quiet ] || echo "$why"
    exit 1
fi
exit 0
