#!/usr/bin/env bash
# Runs Varnel under Wine, in a prefix of its own (build/wineprefix-run) where each of the four desktops is a
# Wine virtual desktop with its own taskbar.
# Without a DISPLAY it is a tour on an Xvfb of its own, the four desktops tiled 2 x 2: it works the control
# panel, switches with hot keys, opens the popup and the large view with real clicks on the tray icons and picks
# desktops in them, with a numbered PNG screenshot after each step and a contact sheet, in the folder it names
# at the end; then it shuts the system down.
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
    # Every step of the stop runs, whatever failed before it (a failing step would otherwise end the script
    # and leave the screen and the prefix's server running).
    set +e
    echo "run: shutting Varnel down"
    wine "$TOUR" shutdown 30 || echo "run: the hub did not end in time"
    # The control panel is not the system's to close; every other program ends by itself.
    [ "$headless" -eq 1 ] && wine "$TOUR" ended 20 | tr -d '\r' | sed 's/^/run: still running after the shutdown: /'
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
    for place in "Default 0 0" "desk2 1280 0" "desk3 0 1024" "desk4 1280 1024"; do
        read -r name x y <<<"$place"
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
# Polls until the command succeeds, for at most $1 seconds.
wait_until() {
    local seconds=$1 i
    shift
    for i in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    echo "run: gave up waiting for: $*"
    return 1
}
# Desktop N's tile on the Xvfb screen; its tray icon is the only one at its taskbar's right end.
tile_x() { echo $(( ($1 - 1) % 2 * 1280 )); }
tile_y() { echo $(( ($1 - 1) / 2 * 1024 )); }
icon_shown() { pixel_is "$1" 1263 1013 "srgb(43,87,151)"; }
# Whether pixel x, y of desktop N's screen has that colour ("srgb(r,g,b)").
pixel_is() {
    [ "$(import -window root -crop 1x1+$(($(tile_x "$1") + $2))+$(($(tile_y "$1") + $3)) -format '%[pixel:p]' info:)" = "$4" ]
}
# Written since the file $2 was noted (or written at all when it was not there).
written_since() { [ -f "$1" ] && { [ ! -f "$2" ] || [ "$1" -nt "$2" ]; }; }
note() { touch "$OUT/.since"; sleep 0.01; }
switcher_file() { echo "$PROGRAM/desktop$1.bmp"; }
# Clicks (button 1 left, 3 right) at x, y of desktop N's screen.
click() { xdotool mousemove "$(($(tile_x "$1") + $2))" "$(($(tile_y "$1") + $3))" click "$4"; }
# X gives the keyboard to the focused window: desktop N's window, for keys typed on desktop N.
focus() {
    local name=Default
    [ "$1" -eq 1 ] || name=desk$1
    xdotool windowfocus --sync "$(xdotool search --name "^$name - Wine desktop\$" | head -n 1)"
}
hover() { xdotool mousemove "$(($(tile_x "$1") + $2))" "$(($(tile_y "$1") + $3))"; }

for desk in 1 2 3 4; do wait_until 30 icon_shown "$desk"; done
shot started

# Something on each desktop to tell them apart in the pictures: a note saying which desktop it is.
notes=$OUT/notes
mkdir -p "$notes"
for value in "iPointSize 360" "iWindowPosX 120" "iWindowPosY 160" "iWindowPosDX 640" "iWindowPosDY 240"; do
    read -r name number <<<"$value"
    wine reg add 'HKCU\Software\Microsoft\Notepad' /v "$name" /t REG_DWORD /d "$number" /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Microsoft\Notepad' /v lfFaceName /d Tahoma /f >/dev/null 2>&1
for desk in 1 2 3 4; do
    printf 'This is desktop %s.\r\n' "$desk" >"$notes/Desktop $desk.txt"
    wine "$TOUR" start "$desk" notepad.exe "\"$(winepath -w "$notes/Desktop $desk.txt")\"" >/dev/null 2>&1
done
for desk in 1 2 3 4; do wine "$TOUR" visible "$desk" Notepad >/dev/null; done
shot notes-on-each-desktop

# The control panel on desktop 1: its three pages, a key recorded, new names typed and saved.
(cd "$PROGRAM" && exec wine VarnelControlPanel.exe >/dev/null 2>&1) &
wine "$TOUR" panel-wait
shot panel-general
wine "$TOUR" panel-tab 150
shot panel-shortcut-keys
wine "$TOUR" panel-record 0 81  # Q (with the Windows key) switches to desktop 1 from now on
shot panel-key-recorded
wine "$TOUR" panel-tab 330
for desk in 1 2 3 4; do
    name=("" "Mail" "Web" "Office" "Games")
    wine "$TOUR" panel-name "$desk" "${name[$desk]}"
done
shot panel-names-typed
wine "$TOUR" panel-save
shot panel-saved

# Hot keys (Windows key + digit), pressed on desktop 1 where Wine delivers them to the hub. Wine's desktop
# switch does not change the display, but each switch has the desktop being left write its picture and the
# others reload it.
previous=1
key=("" 81 50 51 52)
for target in 2 3 4 1; do
    note
    wine "$TOUR" hotkey 8 "${key[$target]}"
    wait_until 20 written_since "$(switcher_file "$previous")" "$OUT/.since"
    shot "hotkey-desktop-$previous-to-$target"
    previous=$target
done

# The popup of desktop 2: a right click on its tray icon, the pointer over a row, a click on "Games".
click 2 1269 1013 3
read -r left top right bottom < <(wine "$TOUR" visible 2 Varnel.frmPopup | tr -d '\r')
shot popup-on-desktop-2
hover 2 $((left + 20)) $((top + 18))
wait_until 5 pixel_is 2 $((left + 20)) $((top + 10)) "srgb(128,128,128)"  # the highlighted look
shot popup-pointer-over-mail
note
click 2 $((left + 20)) $((top + 108)) 1
wine "$TOUR" hidden 2 Varnel.frmPopup
wait_until 20 written_since "$(switcher_file 2)" "$OUT/.since"
shot popup-picked-games

# The large view of desktop 1: a left click on its tray icon, the arrows, then a click on desktop 3's picture.
click 1 1269 1013 1
wine "$TOUR" visible 1 Varnel.frmLargeView >/dev/null
shot large-view-on-desktop-1
focus 1
xdotool key Right
wait_until 5 pixel_is 1 947 51 "srgb(255,0,0)"  # desktop 2's frame turned red
shot large-view-right-arrow
xdotool key Escape
# Escape is ignored: nothing changes to wait for, so the shot shows the view as it stands just after.
sleep 0.3
shot large-view-escape-does-nothing
note
click 1 300 700 1
wine "$TOUR" hidden 1 Varnel.frmLargeView
wait_until 20 written_since "$(switcher_file 1)" "$OUT/.since"
shot large-view-picked-desktop-3

# Desktop 4's large view now holds every desktop's latest picture; a click on its background closes it.
click 4 1269 1013 1
wine "$TOUR" visible 4 Varnel.frmLargeView >/dev/null
shot large-view-on-desktop-4
click 4 640 20 1
wine "$TOUR" hidden 4 Varnel.frmLargeView
shot large-view-closed
rm -f "$OUT/.since"

montage -font /usr/share/wine/fonts/tahoma.ttf -label "%t" "$OUT"/[0-9]*.png -tile 4x -geometry 640x512+8+8 \
    -title "Varnel tour" "$OUT/contact-sheet.png" ||
    echo "run: no contact sheet (montage failed)"
echo "run: the tour's screenshots are in $OUT"
