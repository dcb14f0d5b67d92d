#!/usr/bin/env bash
# Runs Varnel under Wine, in a prefix of its own (build/wineprefix-run) where each of the four desktops is a
# Wine virtual desktop with its own taskbar.
# Without a DISPLAY it is a tour on an Xvfb of its own: the four desktops tiled 2 x 2, a numbered PNG screenshot
# after each step and a contact sheet, in the folder it names at the end; then it shuts the system down.
# With a DISPLAY the system runs there until Ctrl+C, then shuts down.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
ROOT=$PWD
PROGRAM=$ROOT/build/mingw/program
TOUR=$ROOT/build/mingw/tools/tour.exe
OUT=${VARNEL_TOUR_DIR:-$ROOT/build/tour}
export WINEPREFIX=$ROOT/build/wineprefix-run
headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    export VARNEL_SCREEN=2560x2048x24
fi
source tools/wine-env.sh

stop_system() {
    trap - EXIT INT TERM
    echo "run: shutting Varnel down"
    wine "$TOUR" shutdown 30 || echo "run: the hub did not end in time"
    wineserver -k 2>/dev/null || true
    wine_down
}
trap stop_system EXIT
trap 'exit 130' INT TERM
wine_up "$ROOT/build/mingw/tests/bin/sleeper.exe"

# Every desktop a 1280 x 1024 virtual desktop with a taskbar; desktop 1 ("Default") too.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
for name in Default desk2 desk3 desk4; do
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$name" /d 1280x1024 /f >/dev/null 2>&1
    wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$name" /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
done

echo "run: starting $PROGRAM/Varnel.exe"
(cd "$PROGRAM" && exec wine Varnel.exe >/dev/null 2>&1) &
wine "$TOUR" wait-started 60 || { echo "run: the hub did not start (see $PROGRAM/VarnelErrors.txt)"; exit 1; }

# Tiles the desktops' X windows 2 x 2 so that none hides another (a hidden part would capture black).
tile() {
    local name x y id
    for spec in "Default 0 0" "desk2 1280 0" "desk3 0 1024" "desk4 1280 1024"; do
        read -r name x y <<<"$spec"
        for _ in $(seq 100); do
            id=$(xdotool search --name "^$name - Wine desktop\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
            sleep 0.1
        done
        [ -n "$id" ] && xdotool windowmove --sync "$id" "$x" "$y" >/dev/null 2>&1 || true
    done
}
tile

if [ "$headless" -eq 0 ]; then
    echo "run: Varnel runs on $DISPLAY; press Ctrl+C to shut it down"
    while true; do sleep 3600; done
fi

mkdir -p "$OUT"
rm -f "$OUT"/*.png
step=0
shot() {
    step=$((step + 1))
    local file
    file=$(printf '%s/%02d-%s.png' "$OUT" "$step" "$1")
    import -window root "$file"
    echo "run: $file"
}
# Waits until the four switchers' tray icons are drawn (Wine's tray takes a moment to show its first icon).
wait_tray_icons() {
    local probe=$OUT/.probe.png spec ok
    for _ in $(seq 100); do
        import -window root "$probe"
        ok=1
        # The right end of each taskbar, where a desktop's first tray icon sits, is plain white without it.
        for spec in 1256+1006 2536+1006 1256+2030 2536+2030; do
            [ "$(convert "$probe" -crop "24x16+$spec" -format '%[fx:mean]' info:)" = 1 ] && ok=0
        done
        [ "$ok" = 1 ] && break
        sleep 0.2
    done
    rm -f "$probe"
    [ "$ok" = 1 ] || echo "run: not every tray icon appeared"
}
wait_tray_icons
shot started

# The control panel on desktop 1: its three pages, a recorded key, new desktop names saved.
(cd "$PROGRAM" && exec wine VarnelControlPanel.exe >/dev/null 2>&1) &
wine "$TOUR" panel-wait
shot control-panel-general
wine "$TOUR" panel-tab 150
shot control-panel-shortcut-keys
wine "$TOUR" panel-record 4 192
shot control-panel-key-recorded
wine "$TOUR" panel-tab 330
for spec in "1 Mail" "2 Web" "3 Code" "4 Music"; do
    wine "$TOUR" panel-name ${spec% *} "${spec#* }"
done
shot control-panel-new-names
wine "$TOUR" panel-save
shot names-saved
montage -font /usr/share/wine/fonts/tahoma.ttf -label "%t" "$OUT"/[0-9]*.png -tile 3x -geometry 640x512+8+8 \
    -title "Varnel tour" "$OUT/contact-sheet.png" ||
    echo "run: no contact sheet (montage failed)"
echo "run: the tour's screenshots are in $OUT"
