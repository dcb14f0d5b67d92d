#!/usr/bin/env bash
# Shows the error reporter with two reports on the tests' display at 96, 120, 144 and 192 DPI (Wine's LogPixels)
# and saves a picture of the screen at each as a build artifact to look at: screenshot.sh varnelerror.exe OUT.png
# gives OUT-96.png .. OUT-192.png. Fails when the window does not show.
set -uo pipefail
reporter=$1
out=$2
dir=$(mktemp -d)
folder="$dir/Varnel Shot"
mkdir "$folder"
cp "$reporter" "$folder/varnelerror.exe"
first=
cleanup() {
    [ -n "$first" ] && kill "$first" 2>/dev/null && wait "$first" 2>/dev/null
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
    rm -rf "$dir"
}
trap cleanup EXIT

for dpi in 96 120 144 192; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine "$folder/varnelerror.exe" 5 WIN + 1 >/dev/null 2>&1 &
    first=$!
    window=
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --name '^Varnel$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.05
    done
    [ -n "$window" ] || { echo "no reporter window at $dpi DPI"; exit 1; }
    # The second report is handed to the first window; this start ends once it has been taken.
    wine "$folder/varnelerror.exe" 3 2 >/dev/null 2>&1 || { echo "the second report was not taken"; exit 1; }
    count=$(xdotool search --onlyvisible --name '^Varnel$' 2>/dev/null | wc -l)
    [ "$count" -eq 1 ] || { echo "$count reporter windows"; exit 1; }
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    mkdir -p "$(dirname "$out")"
    shot="${out%.png}-$dpi.png"
    import -window root "$shot" || exit 1
    echo "saved $shot"
    kill "$first" 2>/dev/null && wait "$first" 2>/dev/null
    first=
    # The next start must not hand its report to this window.
    for _ in $(seq 100); do
        [ -z "$(xdotool search --onlyvisible --name '^Varnel$' 2>/dev/null)" ] && break
        sleep 0.05
    done
done
