# Sourced by the scripts in tools/: Wine for one build (wine_arch), a display, and a warm wineserver.
# wine_arch x64|x86 [PREFIX] chooses the loader, server and prefix; wine_up starts a display (an Xvfb of its
# own when there is no DISPLAY), creates the prefix if needed and keeps it warm; wine_down stops what wine_up
# started. 64-bit programs run under /usr/lib/wine/wine64 in a 64-bit prefix, 32-bit ones under the 32-bit
# loader in a prefix of their own.
VARNEL_ROOT=${VARNEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
source "$VARNEL_ROOT/tools/archs.sh"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
case ":$PATH:" in *":$VARNEL_ROOT/tools/winebin:"*) ;; *) export PATH=$VARNEL_ROOT/tools/winebin:$PATH ;; esac
VARNEL_SCREEN=${VARNEL_SCREEN:-1280x1024x24}
VARNEL_XVFB_PID=
VARNEL_SLEEPER_PID=

wine_arch() {
    local arch=$1 prefix=${2:-}
    if [ -z "$prefix" ]; then
        # A prefix chosen before for this build stays (tests copy it, ctest's emulator inherits it).
        if [ "${VARNEL_WINE_ARCH:-}" = "$arch" ] && [ -n "${WINEPREFIX:-}" ]; then
            prefix=$WINEPREFIX
        elif [ "$arch" = x64 ]; then
            prefix=$VARNEL_ROOT/build/wineprefix64
        else
            prefix=$VARNEL_ROOT/build/wineprefix
        fi
    fi
    export VARNEL_WINE_ARCH=$arch WINEPREFIX=$prefix
    if [ "$arch" = x64 ]; then
        export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    else
        export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver
    fi
}

# The build of a Windows program: x64 or x86, from the machine field of its PE header.
pe_arch() {
    local header
    header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    [ "$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')" = 8664 ] && echo x64 || echo x86
}

wine_up() {
    local sleeper=$1
    [ -n "${VARNEL_WINE_ARCH:-}" ] || wine_arch "$(pe_arch "$sleeper")"
    if [ -z "${DISPLAY:-}" ]; then
        local n=77
        while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 "$VARNEL_SCREEN" -nolisten tcp >/dev/null 2>&1 &
        VARNEL_XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: creating the prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # A crash must end the program, not wait for someone to close a dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
    fi
    if [ -n "$sleeper" ]; then
        wine "$sleeper" >/dev/null 2>&1 &
        VARNEL_SLEEPER_PID=$!
    fi
}

wine_down() {
    [ -n "$VARNEL_SLEEPER_PID" ] && kill "$VARNEL_SLEEPER_PID" 2>/dev/null
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    if [ -n "$VARNEL_XVFB_PID" ]; then
        kill "$VARNEL_XVFB_PID" 2>/dev/null
        wait "$VARNEL_XVFB_PID" 2>/dev/null
        unset DISPLAY
    fi
    VARNEL_SLEEPER_PID=
    VARNEL_XVFB_PID=
    return 0
}
