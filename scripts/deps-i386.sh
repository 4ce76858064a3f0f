#!/usr/bin/env bash
# Makes 32-bit Windows programs run here: Debian's 32-bit Wine (wine32 and
# its preloader, from the i386 architecture) and, only on a machine whose
# kernel does not run i386 programs itself, the i386 emulator registered
# with binfmt_misc. Called by scripts/deps.sh; never fails the caller.
#
# Prints one line saying why when it cannot (not root, no binfmt_misc), and
# leaves scripts/i386-ready.sh to tell the test layers.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then
        SUDO=sudo
    else
        SUDO=none
    fi
fi
as_root() {
    [ "$SUDO" = none ] && return 1
    $SUDO "$@"
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# Beside Wine itself, the libraries it only recommends that the 64-bit Wine
# has here: CUPS (without it a 32-bit program sees no printer) and the X
# extensions its display driver uses.
packages=(
    wine32:i386 wine32-preloader:i386 libcups2:i386
    libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
    libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
)
missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$SUDO" = none ]; then
        echo "i386: cannot install ${missing[*]} (needs root or sudo); the 32-bit layers will not run"
        exit 0
    fi
    echo "Installing: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -qq
    if ! DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null; then
        echo "i386: installing ${missing[*]} failed; the 32-bit layers will not run"
        exit 0
    fi
fi

# Wine's 32-bit loader is an i386 program: when it runs, nothing else is needed.
"$root/scripts/i386-ready.sh" --quiet && exit 0

if ! installed qemu-user-static; then
    if [ "$SUDO" = none ]; then
        echo "i386: this kernel runs no i386 programs and qemu-user-static is missing (needs root or sudo)"
        exit 0
    fi
    echo "Installing: qemu-user-static (this kernel runs no i386 programs)"
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        qemu-user-static >/dev/null || { echo "i386: installing qemu-user-static failed"; exit 0; }
fi

misc=/proc/sys/fs/binfmt_misc
if [ ! -e "$misc/register" ]; then
    as_root mount -t binfmt_misc binfmt_misc "$misc" 2>/dev/null
fi
if [ ! -e "$misc/register" ]; then
    echo "i386: binfmt_misc is not available here (cannot mount it on $misc); the 32-bit layers will not run"
    exit 0
fi
if [ ! -e "$misc/qemu-i386" ]; then
    # The i386 ELF header as qemu's own qemu-binfmt-conf.sh matches it. F opens
    # the emulator now, so that it is found inside any mount namespace.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    entry=":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F"
    if ! echo "$entry" | as_root tee "$misc/register" >/dev/null 2>&1; then
        echo "i386: cannot register the i386 emulator in $misc/register; the 32-bit layers will not run"
        exit 0
    fi
fi
if [ "$(head -n 1 "$misc/qemu-i386" 2>/dev/null)" = disabled ]; then
    echo 1 | as_root tee "$misc/qemu-i386" >/dev/null 2>&1
fi
"$root/scripts/i386-ready.sh" || true
exit 0
