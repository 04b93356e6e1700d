#!/usr/bin/env bash
# Takes the user guide's pictures of the main window under Xvfb, and with --all the full set
# used to check the layout: 1280x800 and 1920x1080, without and with a window manager
# (openbox), shape mode with a 2000x1000 shape zoomed to fit, render mode with the panels,
# and each panel floating.
# usage: bash tools/take_guide_screenshots.sh [--all OUTDIR] [build/bin/plakett]
# Needs xvfb, xdotool, imagemagick and (for --all) openbox. Uses display :92 (DISPLAYNUM).
set -euo pipefail
cd "$(dirname "$0")/.."
all=""
if [ "${1:-}" = "--all" ]; then all=$(realpath -m "$2"); shift 2; mkdir -p "$all"; fi
plakett=$(realpath "${1:-build/bin/plakett}")
display=":${DISPLAYNUM:-92}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"

# A wide ellipse through eight Auto points, 2000 x 1000 pixels.
python3 - "$work/Wide2000.shp" <<'PY'
import math, sys
lines = ["Shape", "NumOfPoints = 8;"]
for i in range(8):
    a = 2 * math.pi * i / 8
    lines += ["Point Type = Auto;",
              "x = %d;y = %d;" % (round(1100 + 1000 * math.cos(a)), round(600 + 500 * math.sin(a)))]
open(sys.argv[1], "w", newline="").write("\r\n".join(lines + ["end.", ""]))
PY

run() { # SIZE WM SECONDS-TO-RENDER SHAPE: starts X, the window manager and the program
    Xvfb "$display" -screen 0 "${1}x24" >/dev/null 2>&1 &
    xpid=$!
    sleep 2
    wmpid=""
    if [ "$2" = wm ]; then DISPLAY=$display openbox >/dev/null 2>&1 & wmpid=$!; sleep 1; fi
    rm -rf "$work/config"
    DISPLAY=$display "$plakett" --data "$work/data" "$4" >/dev/null 2>&1 &
    ppid_=$!
    sleep 8
    # The main window is the widest visible window named Plakett.
    win=""
    local best=0
    for id in $(DISPLAY=$display xdotool search --onlyvisible --name "Plakett"); do
        local w
        w=$(DISPLAY=$display xdotool getwindowgeometry --shell "$id" | sed -n 's/WIDTH=//p')
        if [ "${w:-0}" -gt "$best" ]; then best=$w; win=$id; fi
    done
}
stop() {
    kill "$ppid_" 2>/dev/null || true
    wait "$ppid_" 2>/dev/null || true
    [ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null
    kill "$xpid" 2>/dev/null || true
    wait "$xpid" 2>/dev/null || true
    sleep 1
}
shot() { DISPLAY=$display import -window root "$1"; }
at() { DISPLAY=$display xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}"; sleep 2; }
renderNow() { DISPLAY=$display xdotool key F5; sleep "$1"; }
width() { DISPLAY=$display xdotool getwindowgeometry --shell "$win" | sed -n 's/WIDTH=//p'; }
light() { convert "$1" -colors 255 -define png:exclude-chunks=date,time -strip "$2"; }

# Where the panel tabs and the float button of the docked panel are, from the right edge.
tabs=(424 369 309 243 166)
names=(lights text shadow glyph background)

float_panel() { # INDEX WM: floats a docked panel and drags it over the states
    local w
    w=$(width)
    at $((w - tabs[$1])) 97
    at $((w - 22)) 119
    if [ "$2" = wm ]; then # the window manager moves a window dragged with Alt held
        DISPLAY=$display xdotool mousemove --window "$win" $((w - 300)) 400 keydown alt \
            mousedown 1 mousemove 260 330 mouseup 1 keyup alt
    else # the panel's own title bar
        DISPLAY=$display xdotool mousemove --window "$win" $((w - 380)) 119 mousedown 1 \
            mousemove 300 300 mouseup 1
    fi
    sleep 2
}

set_of() { # SIZE WM PREFIX
    run "$1" "$2" 40 "$work/Wide2000.shp"
    shot "$3-shape.png"
    renderNow 15
    shot "$3-render.png"
    stop
    for i in 0 1 2 3 4; do
        run "$1" "$2" 5 "$(pwd)/data/Other/Shield.shp"
        renderNow 6
        float_panel "$i" "$2"
        shot "$3-floating-${names[i]}.png"
        stop
    done
}

if [ -n "$all" ]; then
    for size in 1280x800 1920x1080; do
        for wm in nowm wm; do set_of "$size" "$wm" "$all/$size-$wm"; done
    done
    ls -l "$all"
fi

# The guide's pictures: 1280x800 without a window manager.
run 1280x800 nowm 40 "$work/Wide2000.shp"
shot "$work/shape.png"
renderNow 5
stop
run 1280x800 nowm 6 "$(pwd)/data/Other/Shield.shp"
renderNow 6
shot "$work/render.png"
stop
run 1280x800 nowm 6 "$(pwd)/data/Other/Shield.shp"
renderNow 6
float_panel 1 nowm
shot "$work/floating.png"
stop
light "$work/shape.png" data/Help/shape-mode.png
light "$work/render.png" data/Help/render-mode.png
light "$work/floating.png" data/Help/floating-panel.png
ls -l data/Help/*.png
