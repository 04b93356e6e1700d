#!/usr/bin/env bash
# Renders every library shape (Buttons, then Other) with plakett-render, each in the next
# shipped style by name, and montages the normal states into one labelled picture.
#   tools/contact_sheet.sh [RENDERER] [DATA_FOLDER] [OUTPUT.png]
# Defaults: build/bin/plakett-render, data, docs/library.png. Needs ImageMagick's montage.
set -euo pipefail
cd "$(dirname "$0")/.."
renderer=${1:-build/bin/plakett-render}
data=${2:-data}
output=${3:-docs/library.png}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mapfile -t styles < <(find "$data/Styles" -name '*.jpgs' | LC_ALL=C sort)
[[ ${#styles[@]} -gt 0 ]] || { echo "contact_sheet: no styles in $data/Styles" >&2; exit 1; }

tiles=()
i=0
for folder in Buttons Other; do
    while IFS= read -r shape; do
        style=${styles[i % ${#styles[@]}]}
        name=$(basename "$shape" .shp)
        label="$name ($(basename "$style" .jpgs))"
        "$renderer" --states 1 --format png --style "$style" "$shape" "$work/$i.png"
        tiles+=(-label "$label" "$work/${i}_off.png")
        i=$((i + 1))
    done < <(find "$data/$folder" -name '*.shp' | LC_ALL=C sort)
done

mkdir -p "$(dirname "$output")"
# Tiles keep their size; the sheet is flattened onto a light page colour.
montage "${tiles[@]}" -tile 5x -geometry '300x180>+4+2' -background '#f3f3f3' \
    -font Liberation-Sans -pointsize 13 -depth 8 "$work/sheet.png"
convert "$work/sheet.png" -strip -colors 255 "png8:$output"
echo "$output: $i shapes, ${#styles[@]} styles"
