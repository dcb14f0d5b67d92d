#!/usr/bin/env bash
# screenshot.sh varnelerror.exe OUT.png: the error reporter with two reports at 96, 120, 144 and 192 DPI (Wine's
# LogPixels), each screen saved as OUT-DPI.png to look at. Fails when the window does not show or is not joined.
set -uo pipefail
out=$2 folder="$(mktemp -d)/Varnel Shot" first=
mkdir -p "$folder" "$(dirname "$out")" && cp "$1" "$folder/varnelerror.exe"
windows() { xdotool search --onlyvisible --name '^Varnel$' 2>/dev/null; }
cleanup() {
    [ -n "$first" ] && kill "$first" 2>/dev/null && wait "$first" 2>/dev/null
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
    rm -rf "$(dirname "$folder")"
}
trap cleanup EXIT
for dpi in 96 120 144 192; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine "$folder/varnelerror.exe" 5 WIN + 1 >/dev/null 2>&1 &
    first=$!
    for _ in $(seq 200); do [ -n "$(windows)" ] && break; sleep 0.05; done
    window=$(windows | head -n 1) && [ -n "$window" ] || { echo "no reporter window at $dpi DPI"; exit 1; }
    # The second start hands its report to the first window and ends.
    wine "$folder/varnelerror.exe" 3 2 >/dev/null 2>&1 || { echo "the second report was not taken"; exit 1; }
    xdotool windowactivate --sync "$window" >/dev/null 2>&1
    import -window root "${out%.png}-$dpi.png" && echo "saved ${out%.png}-$dpi.png" || exit 1
    # The next start must not hand its report to this window.
    kill "$first" && wait "$first" 2>/dev/null
    first= && for _ in $(seq 100); do [ -z "$(windows)" ] && break; sleep 0.05; done
done
