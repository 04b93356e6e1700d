#!/usr/bin/env bash
# Takes the software-centre screenshots under Xvfb: shape mode with a shipped shape, and
# render mode with that shape rendered. Writes packaging/screenshots/*.png.
# usage: bash tools/take_screenshots.sh [build/bin/plakett]
set -euo pipefail
cd "$(dirname "$0")/.."
plakett=$(realpath "${1:-build/bin/plakett}")
out=$(pwd)/packaging/screenshots
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shot() { # NAME ARGS...: starts the program, waits for it to settle, grabs the screen
    local name=$1
    shift
    xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
        "$@" &
        pid=$!
        sleep 6
        import -window root "'"$work/$name"'.png"
        kill $pid' _ "$plakett" --data "$work/data" "$@"
    # A small palette keeps the files light; the pictures are flat colours mostly.
    convert "$work/$name.png" -colors 255 -define png:exclude-chunks=date,time -strip \
        "$out/$name.png"
}

shot shape-mode "$(pwd)/data/Other/Shield.shp"
shot render-mode --render-at-start "$(pwd)/data/Other/Shield.shp"
ls -l "$out"
