#!/usr/bin/env bash
# Runs Varnel under Wine, in a prefix of its own (build/wineprefix-run, build/wineprefix64-run for the x64
# build) where each of the four desktops is a Wine virtual desktop with its own taskbar. It runs the x86 build
# where the machine runs 32-bit programs, else the x64 one (VARNEL_ARCHS=x64 forces it; tools/archs.sh).
# Without a DISPLAY it is a tour on an Xvfb of its own, the four desktops tiled 2 x 2: it works the control
# panel, switches with hot keys, opens the popup and the large view with real clicks on the tray icons and picks
# desktops in them, with a numbered PNG screenshot after each step and a contact sheet, in the folder it names
# at the end; then it shuts the system down.
# With a DISPLAY the system runs there until Ctrl+C, then shuts down.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
ROOT=$PWD
source tools/wine-env.sh
arch=$(varnel_run_arch)
tree=$(varnel_tree "$arch")
PROGRAM=$ROOT/build/$tree/program
TOUR=$ROOT/build/$tree/tools/tour.exe
OUT=${VARNEL_TOUR_DIR:-$ROOT/build/tour}
if [ "$arch" = x64 ]; then wine_arch x64 "$ROOT/build/wineprefix64-run"; else wine_arch x86 "$ROOT/build/wineprefix-run"; fi
echo "run: the $arch build ($PROGRAM)"
headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    export VARNEL_SCREEN=2560x2048x24
fi

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
wine_up "$ROOT/build/$tree/tests/bin/sleeper.exe"

# Every desktop a 1280 x 1024 virtual desktop with a taskbar; desktop 1 ("Default") too.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
for name in Default desk2 desk3 desk4; do
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$name" /d 1280x1024 /f >/dev/null 2>&1
    wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$name" /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
done

# The tour starts as a new user does: no settings, no pictures of desktops left by an earlier run.
if [ "$headless" -eq 1 ]; then
    wine reg delete 'HKCU\Software\Varnel' /f >/dev/null 2>&1 || true  # none in a new prefix
    rm -f "$PROGRAM"/desktop[1-4].bmp
fi
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

# With a DISPLAY the four desktops lie one over another, and the one the hub switched to comes to the front:
# Wine's SwitchDesktop changes nothing on the screen, so this script, not Varnel, makes a switch visible. It
# follows the hub's switch trace (through the debug monitor), one line per switch.
if [ "$headless" -eq 0 ]; then
    desktop_window() {
        local name=Default id
        [ "$1" -eq 1 ] || name=desk$1
        for _ in $(seq 100); do
            id=$(xdotool search --name "^$name - Wine desktop\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
            sleep 0.1
        done
        echo "$id"
    }
    front() {
        local id
        id=$(desktop_window "$1")
        [ -n "$id" ] || return 0
        xdotool windowactivate --sync "$id" >/dev/null 2>&1 || xdotool windowraise "$id" >/dev/null 2>&1
    }
    for desk in 4 3 2 1; do
        id=$(desktop_window "$desk")
        [ -n "$id" ] && xdotool windowmove --sync "$id" 0 0 >/dev/null 2>&1
        front "$desk"
    done
    echo "run: Varnel runs on $DISPLAY; press Ctrl+C to shut it down"
    # Read unfiltered: a filter between would hold the lines in its buffer.
    wine "$TOUR" follow | while read -r desk; do front "${desk%$'\r'}"; done
    echo "run: the hub has ended"
    exit 0
fi
tile

mkdir -p "$OUT"
rm -f "$OUT"/*.png
step=0
last=
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
# Wine puts a window's drawing on the screen a moment after it was made: a picture is taken only once two
# captures in a row are the same.
shot() {
    step=$((step + 1))
    last=$(printf '%s/%02d-%s.png' "$OUT" "$step" "$1")
    local previous=$OUT/.previous.rgb current=$OUT/.current.rgb i
    import -window root -depth 8 "rgb:$previous"
    for i in $(seq 40); do
        import -window root -depth 8 "rgb:$current"
        cmp -s "$previous" "$current" && break
        mv "$current" "$previous"
    done
    cmp -s "$previous" "$current" || fail "the screen did not settle"
    convert -size 2560x2048 -depth 8 "rgb:$current" "$last"
    rm -f "$previous" "$current"
    echo "run: $last"
}
fail() {
    echo "run: WRONG PICTURE ${last:-(none)}: $1" >&2
    exit 1
}
# expect DESCRIPTION COMMAND...: the tour stops loudly when the last picture does not show what it must.
expect() {
    local what=$1
    shift
    "$@" || fail "$what"
}
# Desktop N's tile on the Xvfb screen; its tray icon is the only one at its taskbar's right end.
tile_x() { echo $(( ($1 - 1) % 2 * 1280 )); }
tile_y() { echo $(( ($1 - 1) / 2 * 1024 )); }
icon_shown() { pixel_is "$1" 1263 1013 "srgb(43,87,151)"; }
# Whether pixel x, y of desktop N's screen has that colour ("srgb(r,g,b)").
pixel_is() {
    [ "$(import -window root -crop 1x1+$(($(tile_x "$1") + $2))+$(($(tile_y "$1") + $3)) -format '%[pixel:p]' info:)" = "$4" ]
}
# The same questions asked of the last picture: a pixel, and the share (percent) of a colour in a rectangle
# "left top right bottom" of desktop N's screen, and how many colours that rectangle holds.
shot_pixel_is() {
    [ "$(convert "$last" -crop 1x1+$(($(tile_x "$1") + $2))+$(($(tile_y "$1") + $3)) -format '%[pixel:p]' info:)" = "$4" ]
}
region() { echo "$(($4 - $2))x$(($5 - $3))+$(($(tile_x "$1") + $2))+$(($(tile_y "$1") + $3))"; }
share_of() {  # share_of COLOUR DESK LEFT TOP RIGHT BOTTOM
    local mark="srgb(1,2,3)"  # a colour none of the pictures holds
    convert "$last" -crop "$(region "${@:2}")" +repage -fill "$mark" -opaque "$1" -fill black +opaque "$mark" \
        -fill white -opaque "$mark" -format '%[fx:int(mean*100+0.5)]' info:
}
colours_in() { convert "$last" -crop "$(region "$@")" +repage -format '%k' info:; }
less_than() { [ "$1" -lt "$2" ]; }
more_than() { [ "$1" -gt "$2" ]; }
# A control (or the panel itself) drawn: its rectangle is not one flat colour.
drawn() { more_than "$(colours_in 1 "$@")" 2; }
control_drawn() { local r; r=$(wine "$TOUR" panel-rect "$1" | tr -d '\r') && drawn $r; }
# The panel's caption text, drawn by Wine's frame: none of it shows the desktop behind.
caption_drawn() {
    local left top right bottom
    read -r left top right bottom < <(wine "$TOUR" panel-rect | tr -d '\r')
    [ "$(share_of "$desktop" 1 $((left + 24)) $((top + 4)) $((left + 200)) $((top + 18)))" -eq 0 ] &&
        drawn $((left + 24)) $((top + 4)) $((left + 200)) $((top + 18))
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
drawn_on() { more_than "$(colours_in "$1" 120 720 760 940)" 2; }  # desktop N's note
every_icon_shown() { local d; for d in 1 2 3 4; do shot_pixel_is "$d" 1263 1013 "srgb(43,87,151)" || return 1; done; }
# The large view of desktop N covers its screen with black around the desktops' pictures (which show the
# desktop's own colour, so that colour tells nothing here).
covered() { more_than "$(share_of "srgb(0,0,0)" "$1" 0 0 1280 1024)" 15; }
uncovered() { less_than "$(share_of "srgb(0,0,0)" "$1" 0 0 1280 1024)" 3; }

for desk in 1 2 3 4; do wait_until 30 icon_shown "$desk"; done
shot started
desktop=$(convert "$last" -crop 1x1+1200+40 -format '%[pixel:p]' info:)
expect "each desktop shows its taskbar with the switcher's icon" every_icon_shown
expect "desktop 2 shows no large view" uncovered 2

# Something on each desktop to tell them apart in the pictures: a note saying which desktop it is, low on the
# screen where the control panel will not cover it. A caret that does not blink lets the screen settle.
notes=$OUT/notes
mkdir -p "$notes"
for value in "iPointSize 360" "iWindowPosX 120" "iWindowPosY 720" "iWindowPosDX 640" "iWindowPosDY 220"; do
    read -r name number <<<"$value"
    wine reg add 'HKCU\Software\Microsoft\Notepad' /v "$name" /t REG_DWORD /d "$number" /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Microsoft\Notepad' /v lfFaceName /d Tahoma /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d -1 /f >/dev/null 2>&1
for desk in 1 2 3 4; do
    printf 'This is desktop %s.\r\n' "$desk" >"$notes/Desktop $desk.txt"
    wine "$TOUR" start "$desk" notepad.exe "\"$(winepath -w "$notes/Desktop $desk.txt")\"" >/dev/null 2>&1
done
for desk in 1 2 3 4; do wine "$TOUR" visible "$desk" Notepad >/dev/null; done
shot notes-on-each-desktop
for desk in 1 2 3 4; do expect "desktop $desk's note is drawn" drawn_on "$desk"; done

# The control panel on desktop 1: its three pages, a key recorded, new names typed and saved.
(cd "$PROGRAM" && exec wine VarnelControlPanel.exe >/dev/null 2>&1) &
wine "$TOUR" panel-wait
shot panel-general
expect "the panel's caption is drawn" caption_drawn
expect "\"Start Varnel\" is drawn" control_drawn 112
expect "\"Shutdown Varnel\" is drawn" control_drawn 113
read -r panel_left panel_top _ < <(wine "$TOUR" panel-rect | tr -d '\r')
wine "$TOUR" panel-tab 150
shot panel-shortcut-keys
expect "the panel's caption is drawn" caption_drawn
for row in 0 1 2 3 4; do
    expect "the \"Record key\" button of row $((row + 1)) is drawn" control_drawn $((150 + row))
done
expect "the previous-desktop row's label is drawn" control_drawn 134
wine "$TOUR" panel-record 0 81  # Q (with the Windows key) switches to desktop 1 from now on
shot panel-key-recorded
expect "the recorded key shows" control_drawn 140
wine "$TOUR" panel-tab 330
for desk in 1 2 3 4; do
    name=("" "Mail" "Web" "Office" "Games")
    wine "$TOUR" panel-name "$desk" "${name[$desk]}"
done
shot panel-names-typed
expect "the panel's caption is drawn" caption_drawn
for desk in 1 2 3 4; do expect "desktop $desk's name box is drawn" control_drawn $((170 + desk - 1)); done
wine "$TOUR" panel-save
shot panel-saved
expect "the panel has gone" [ "$(share_of "$desktop" 1 $((panel_left + 24)) $((panel_top + 4)) $((panel_left + 200)) $((panel_top + 18)))" -eq 100 ]

# Hot keys (Windows key + digit), pressed on desktop 1 where Wine delivers them to the hub. Wine's desktop
# switch does not change the display, but each switch has the desktop being left write its picture and the
# others reload it.
previous=1
key=("" 81 50 51 52)
for target in 2 3 4 1; do
    note
    wine "$TOUR" hotkey 8 "${key[$target]}"
    wait_until 20 written_since "$(switcher_file "$previous")" "$OUT/.since" ||
        fail "desktop $previous's switcher wrote no picture"
    shot "hotkey-desktop-$previous-to-$target"
    expect "each desktop still shows its switcher's icon" every_icon_shown
    previous=$target
done

# The popup of desktop 2: a right click on its tray icon, the pointer over a row, a click on "Games".
click 2 1269 1013 3
read -r left top right bottom < <(wine "$TOUR" visible 2 Varnel.frmPopup | tr -d '\r')
shot popup-on-desktop-2
expect "the popup sits above the taskbar at the right end ($left $top $right $bottom)" \
    eval '[ "$bottom" -le 1004 ] && [ "$right" -le 1280 ] && [ "$right" -ge 1180 ] && [ "$top" -ge 0 ]'
# The popup's own background is the desktop's blue: its names and badges are what show it drawn.
expect "the popup is drawn" more_than "$(colours_in 2 "$left" "$top" "$right" "$bottom")" 8
hover 2 $((left + 20)) $((top + 18))
wait_until 5 pixel_is 2 $((left + 20)) $((top + 10)) "srgb(128,128,128)"  # the highlighted look
shot popup-pointer-over-mail
expect "the row under the pointer is highlighted" shot_pixel_is 2 $((left + 20)) $((top + 10)) "srgb(128,128,128)"
note
click 2 $((left + 20)) $((top + 108)) 1
wine "$TOUR" hidden 2 Varnel.frmPopup
wait_until 20 written_since "$(switcher_file 2)" "$OUT/.since" || fail "desktop 2's switcher wrote no picture"
shot popup-picked-games
expect "the popup has gone" less_than "$(colours_in 2 "$left" "$top" "$right" "$bottom")" 3

# The large view of desktop 1: a left click on its tray icon, the arrows, then a click on desktop 3's picture.
click 1 1269 1013 1
wine "$TOUR" visible 1 Varnel.frmLargeView >/dev/null
shot large-view-on-desktop-1
expect "the large view covers desktop 1" covered 1
focus 1
xdotool key Right
wait_until 5 pixel_is 1 947 51 "srgb(255,0,0)"  # desktop 2's frame turned red
shot large-view-right-arrow
expect "desktop 2's frame is red" shot_pixel_is 1 947 51 "srgb(255,0,0)"
xdotool key Escape
shot large-view-escape-does-nothing
expect "Escape leaves the large view open, desktop 2's frame red" \
    eval 'covered 1 && shot_pixel_is 1 947 51 "srgb(255,0,0)"'
note
click 1 300 700 1
wine "$TOUR" hidden 1 Varnel.frmLargeView
wait_until 20 written_since "$(switcher_file 1)" "$OUT/.since" || fail "desktop 1's switcher wrote no picture"
shot large-view-picked-desktop-3
expect "the large view has gone" uncovered 1

# Desktop 4's large view now holds every desktop's latest picture; a click on its background closes it.
click 4 1269 1013 1
wine "$TOUR" visible 4 Varnel.frmLargeView >/dev/null
shot large-view-on-desktop-4
expect "the large view covers desktop 4" covered 4
click 4 640 20 1
wine "$TOUR" hidden 4 Varnel.frmLargeView
shot large-view-closed
expect "the large view has gone" uncovered 4
rm -f "$OUT/.since"

montage -font /usr/share/wine/fonts/tahoma.ttf -label "%t" "$OUT"/[0-9]*.png -tile 4x -geometry 640x512+8+8 \
    -title "Varnel tour" "$OUT/contact-sheet.png" ||
    echo "run: no contact sheet (montage failed)"
echo "run: the tour's screenshots are in $OUT; each showed what it must"
