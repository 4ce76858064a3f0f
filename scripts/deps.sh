#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(
    cmake make g++ libgtest-dev googletest clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine64 xvfb x11-utils
    cups printer-driver-cups-pdf poppler-utils
    zip unzip imagemagick
    fonts-wqy-microhei
    # Wine draws every face it lacks ("MS Sans Serif", Tahoma, Arial, Courier
    # New) with Liberation Sans when there is one, else with DejaVu Sans, whose
    # mark tables crash Wine 8's Edit control on a file as short as A7 98.
    # This 1.x release has kerning tables alone (fonts-liberation2 has mark
    # tables too, and crashes it the same way).
    fonts-liberation
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The 32-bit Wine (and, where the kernel needs it, the i386 emulator) for
# the release target's own tests.
"$(dirname "$0")/deps-i386.sh"
