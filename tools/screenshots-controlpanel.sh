#!/usr/bin/env bash
# Writes pictures of the control panel's three pages and of its recording dialog to build/screenshots/, taken
# from a virtual screen with real mouse clicks, at the DPI given (96 when none; the pictures then carry it in
# their names, controlpanel-general-144.png). Needs the Windows build (bash tools/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh
tree=$(varnel_tree "$(varnel_run_arch)")
wine_arch "$(varnel_run_arch)"
out=build/screenshots
mkdir -p "$out"
panel=build/$tree/program/VarnelControlPanel.exe
[ -f "$panel" ] || { echo "build first: $panel is missing"; exit 1; }

dpi=${1:-96}
suffix=
[ "$dpi" = 96 ] || suffix="-$dpi"
PANEL_PID=
finish() {
    [ -n "$PANEL_PID" ] && kill "$PANEL_PID" 2>/dev/null
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
    wine_down
}
trap finish EXIT
wine_up "$PWD/build/$tree/tests/bin/sleeper.exe"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
scaled() { echo $((($1 * dpi + 48) / 96)); }

wine "$panel" >/dev/null 2>&1 &
PANEL_PID=$!
window=$(xdotool search --sync --name "^Varnel Control Panel$" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
menu=$((HEIGHT - $(scaled 343)))  # the X window holds the menu bar above the 495 x 343 client area (at 96 DPI)

shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"; }
# Takes the picture once it differs from `previous` (the click has been drawn), or after five seconds.
shot_after_change() {
    local target=$1 previous=$2 i
    for i in $(seq 50); do
        shot "$target"
        [ -z "$previous" ] || ! cmp -s <(convert "$target" rgb:-) <(convert "$previous" rgb:-) && return 0
        sleep 0.1
    done
}
click() { xdotool mousemove "$((X + $(scaled "$1")))" "$((Y + menu + $(scaled "$2")))" click 1; }

# Tab lefts are 10, then each caption's width plus 58 further: these points lie inside tabs 0, 1 and 2.
general="$out/controlpanel-general$suffix.png"
keys="$out/controlpanel-shortcut-keys$suffix.png"
names="$out/controlpanel-desktop-names$suffix.png"
shot_after_change "$general" ""
click 150 12
shot_after_change "$keys" "$general"
click 330 12
shot_after_change "$names" "$keys"
click 150 12
shot_after_change "$keys" "$names"
click 300 128  # "Record key" of the first row
xdotool search --sync --name "^Record shortcut key$" >/dev/null
shot_after_change "$out/controlpanel-record-key$suffix.png" "$keys"
ls -1 "$out"/controlpanel-*"$suffix".png
