# Sourced: a private Wine prefix inside the build tree and a display.
# Sets PENRIK_STARTED_X when it started a virtual display of its own.
# Needs $root, the checkout.
build=${PENRIK_BUILD:-$root/build}
export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=/usr/lib/wine/wine64
# The 32-bit loader runs 32-bit programs in the same 64-bit prefix.
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
PENRIK_STARTED_X=""

start_display() {
    if [ -z "${DISPLAY:-}" ]; then
        local n
        for n in 97 98 99 96 95; do
            [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
            Xvfb ":$n" -screen 0 "${PENRIK_SCREEN:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
            PENRIK_STARTED_X=$!
            export DISPLAY=":$n"
            break
        done
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        echo "No display found: started a virtual one on $DISPLAY"
    fi
}

# A prefix made before the 32-bit Wine was installed has an empty syswow64,
# and every 32-bit program fails in it (c0000135).
prefix_lacks_32bit() {
    [ -x "$WINE32" ] && [ -f "$WINEPREFIX/system.reg" ] &&
        [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}

start_wine() {
    mkdir -p "$build"
    if prefix_lacks_32bit; then
        if [ -n "${PENRIK_UNMANAGED:-}" ]; then
            # The tests' prefix holds nothing worth keeping.
            echo "The Wine prefix $WINEPREFIX has no 32-bit system: making it again"
            "$WINESERVER" -k >/dev/null 2>&1 || true
            rm -rf "$WINEPREFIX"
        else
            # Keeps what the prefix holds; without its time stamp Wine
            # installs the whole system again, the 32-bit half too.
            echo "The Wine prefix $WINEPREFIX has no 32-bit system: updating it"
            rm -f "$WINEPREFIX/.update-timestamp"
            "$WINE64" wineboot -u >/dev/null 2>&1 || true
            "$WINESERVER" -w
            prefix_lacks_32bit && echo "  still none; remove $WINEPREFIX to have it made again"
        fi
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX (once)"
        "$WINE64" wineboot -i >/dev/null 2>&1 || true
        if [ -n "${PENRIK_UNMANAGED:-}" ]; then
            # Without a window manager Wine waits two seconds for every
            # hidden window; the tests' windows need no manager.
            "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        fi
    fi
    "$WINESERVER" -p
    # A program that crashes ends at once: Wine's crash dialog would hold it,
    # and a test waiting on it, until someone closes the dialog.
    if ! grep -qs '^"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
        "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    fi
    # Captions and menus are drawn in Tahoma, which Wine has no font for
    # here and links to none with Chinese or Japanese characters: a name in
    # those scripts would show as boxes in the caption.
    if ! grep -qs '^"Tahoma"=str(7):"wqy-microhei' "$WINEPREFIX/system.reg"; then
        "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
            /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
    fi
    # Boot the prefix's services now, so that they do not inherit (and
    # hold open) the output of the first program a test runs.
    "$WINE64" wineboot </dev/null >/dev/null 2>&1 || true
}

stop_all() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -n "$PENRIK_STARTED_X" ]; then
        kill "$PENRIK_STARTED_X" 2>/dev/null || true
    fi
}
