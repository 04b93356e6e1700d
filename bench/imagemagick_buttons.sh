#!/usr/bin/env bash
# The ImageMagick way to the button plakett-render draws, for the cold-run comparison: a
# 1000 x 500 closed Bezier outline as an anti-aliased mask, a height field blurred from it,
# three coloured lights shading it (raised for normal and hot, sunken for pressed), a
# specular highlight, the caption with its offset dark copy, the mask as alpha, a blurred
# offset drop shadow on a light background; three BMP states from one convert process.
#   imagemagick_buttons.sh [OUTDIR]    (needs the imagemagick package)
set -euo pipefail
convert=${IM:-convert}
out=${1:-./imagemagick-buttons}
mkdir -p "$out"
cd "$out"

width=1000 height=500 margin=40
canvas="$((width + 2 * margin))x$((height + 2 * margin))"
outline="M 120,20 C 400,-10 600,40 880,20 C 990,15 1000,120 985,250
         C 970,380 990,480 880,480 C 600,460 400,500 120,480 C 10,485 0,380 15,250
         C 30,120 10,25 120,20 Z"

"$convert" -size "$canvas" xc:black -fill white \
    -draw "translate $margin,$margin path '$outline'" outline.png

# Three lights on a height field: direction x elevation, then the light's colour.
lit() {
    local field=$1
    echo "( $field -shade 135x40 -auto-level +level-colors black,#d8d8d8 )"
    echo "( $field -shade 30x25 -auto-level +level-colors black,#b06030 )"
    echo "( $field -shade 270x20 -auto-level +level-colors black,#3040a0 )"
}
# The lit face with its caption, cut out by the outline, over its shadow.
state() {
    local face=$1 shadow=$2 caption=$3
    echo "( $face -gravity center -font DejaVu-Sans-Bold -pointsize 150 $caption"
    echo "  mpr:outline -alpha off -compose copy_opacity -composite"
    echo "  ( +clone -background black -shadow $shadow ) +swap"
    echo "  -background #f0f0f0 -compose over -layers merge +repage"
    echo "  -gravity center -extent $canvas -alpha off"
}

# shellcheck disable=SC2046 # the helpers' words are meant to split
"$convert" outline.png -write mpr:outline -blur 0x18 -write mpr:raised -negate \
    -write mpr:sunken +delete \
    \( -size "$canvas" xc:'#2f6fd0' -write mpr:colour +delete \) \
    $(lit mpr:raised) -compose plus -background black -flatten -write mpr:light_up +delete \
    $(lit mpr:sunken) -compose plus -background black -flatten -write mpr:light_down +delete \
    \( mpr:raised -shade 135x50 -auto-level -level 70%,100% -write mpr:gloss +delete \) \
    \( mpr:colour mpr:light_up -compose multiply -composite \
       mpr:gloss -compose screen -composite -write mpr:face_up +delete \) \
    \( mpr:colour mpr:light_down -compose multiply -composite -write mpr:face_down +delete \) \
    $(state mpr:face_up 60x10+10+10 \
        "-fill #00000090 -annotate +4+4 Button -fill white -annotate +0+0 Button") \
        -write BMP3:normal.bmp +delete \) \
    $(state "mpr:face_up -modulate 118,110" 60x14+14+14 \
        "-fill #00000090 -annotate +4+4 Button -fill #fff6a0 -annotate +0+0 Button") \
        -write BMP3:hover.bmp +delete \) \
    $(state mpr:face_down 60x5+3+3 \
        "-fill #ffffff60 -annotate +5+5 Button -fill #e0e0e0 -annotate +3+3 Button") \) \
    BMP3:pressed.bmp
