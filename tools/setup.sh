#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; quiet and quick when all is present.
# The 32-bit Wine only where this machine runs 32-bit programs (tools/archs.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/archs.sh

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
install() {
    local need=() p
    for p in "$@"; do have "$p" || need+=("$p"); done
    if [ ${#need[@]} -gt 0 ] || [ -e /tmp/varnel-apt-stale ]; then
        echo "setup: installing ${need[*]:-(refreshing package lists)}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        [ ${#need[@]} -eq 0 ] || apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
        rm -f /tmp/varnel-apt-stale
    fi
}

# FreeImage.dll is built from Debian's source package, so apt needs the source indexes.
for f in /etc/apt/sources.list.d/debian.sources; do
    if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
        sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
        touch /tmp/varnel-apt-stale
    fi
done
if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list > /etc/apt/sources.list.d/varnel-src.list
    touch /tmp/varnel-apt-stale
fi

install cmake ninja-build g++ binutils googletest g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
        wine wine64 xvfb fonts-wine dpkg-dev imagemagick x11-utils xdotool nsis zip osslsigncode openssl
case " $(varnel_archs) " in
*" x86 "*)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        touch /tmp/varnel-apt-stale
    fi
    install wine32:i386
    ;;
esac
