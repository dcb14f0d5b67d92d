#!/usr/bin/env bash
# Shows the error reporter with two reports on the tests' display and saves a picture of the screen as a build
# artifact to look at: screenshot.sh varnelerror.exe OUT.png. Fails when the window does not show.
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
    rm -rf "$dir"
}
trap cleanup EXIT

wine "$folder/varnelerror.exe" 5 WIN + 1 >/dev/null 2>&1 &
first=$!
window=
for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Varnel$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || { echo "no reporter window"; exit 1; }
# The second report is handed to the first window; this start ends once it has been taken.
wine "$folder/varnelerror.exe" 3 2 >/dev/null 2>&1 || { echo "the second report was not taken"; exit 1; }
count=$(xdotool search --onlyvisible --name '^Varnel$' 2>/dev/null | wc -l)
[ "$count" -eq 1 ] || { echo "$count reporter windows"; exit 1; }
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
mkdir -p "$(dirname "$out")"
import -window root "$out" || exit 1
echo "saved $out"
