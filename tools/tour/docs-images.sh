#!/usr/bin/env bash
# Refreshes the README's pictures in docs/images from a finished tour (tools/run.sh, headless).
#   tools/tour/docs-images.sh [TOUR_DIR]       (build/tour by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
tour=${1:-build/tour}
out=docs/images
# NAME STEP DESK: desktop DESK's screen of step STEP at half size.
for picture in "03-panel-general panel-general 1" "04-panel-shortcut-keys panel-shortcut-keys 1" \
               "06-panel-names panel-names-typed 1" "13-popup popup-pointer-over-mail 2" \
               "15-large-view large-view-on-desktop-1 1"; do
    read -r name step desk <<<"$picture"
    x=$(( (desk - 1) % 2 * 1280 )) y=$(( (desk - 1) / 2 * 1024 ))
    convert "$tour"/[0-9][0-9]-"$step".png -crop "1280x1024+$x+$y" +repage -resize 50% "$out/$name.png"
done
convert "$tour"/[0-9][0-9]-notes-on-each-desktop.png -resize 35% "$out/01-four-desktops.png"
convert "$tour/contact-sheet.png" -resize 1000x -depth 8 "$out/contact-sheet.png"
echo "docs-images: $out updated from $tour"
