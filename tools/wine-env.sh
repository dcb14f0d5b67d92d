# Sourced by the scripts in tools/: a Wine prefix in the build folder, a display, and a warm wineserver.
# wine_up starts them (an Xvfb of its own when there is no DISPLAY); wine_down stops what wine_up started.
VARNEL_ROOT=${VARNEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$VARNEL_ROOT/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
VARNEL_SCREEN=${VARNEL_SCREEN:-1280x1024x24}
VARNEL_XVFB_PID=
VARNEL_SLEEPER_PID=

wine_up() {
    local sleeper=$1
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
