#!/usr/bin/env bash
# Renders the application icon's PNG sizes with plakett-render itself: a rounded-square
# cushion in the shipped "Aqua" style, with its soft shadow, scaled down with ImageMagick.
# Run from anywhere after a build:  bash tools/make_icons.sh [build/bin/plakett-render]
set -euo pipefail
cd "$(dirname "$0")/.."
render=${1:-build/bin/plakett-render}
out=packaging/icons
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$render" --states 1 --format png --style data/Styles/Aqua.jpgs tools/icon_cushion.shp \
    "$work/icon.png"
# Cut the empty margin, keep a little room for the shadow, make it square.
convert "$work/icon_off.png" -trim +repage -background none -gravity center \
    -extent "%[fx:max(w,h)+8]x%[fx:max(w,h)+8]" "$work/square.png" 2>/dev/null ||
    convert "$work/icon_off.png" -trim +repage -background none -gravity center \
        -extent 240x240 "$work/square.png"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$out/$size"
    convert "$work/square.png" -filter Lanczos -resize "${size}x${size}" \
        -define png:exclude-chunks=date,time -strip "$out/$size/org.plakett.Plakett.png"
done
echo "Wrote $out/<size>/org.plakett.Plakett.png"
