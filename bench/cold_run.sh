#!/usr/bin/env bash
# Cold-process figures, as a build script meets plakett-render: every run a fresh process.
#   bench/cold_run.sh [BUILD_DIR] [ROUNDS]      (default: build, 5 rounds)
# Each round runs, one after the other: the 1000 x 500 three-state PNG render, the same
# button by ImageMagick (bench/imagemagick_buttons.sh), the 500 x 250 benchmark button
# with --timings, and the warm field benchmark of that button. Reported are the minima
# of wall time and of CPU time (user + sys, which a busy machine disturbs less) and the
# largest peak resident size, then the ratios taken from them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
rounds=${2:-5}
render=$build/bin/plakett-render
field_bench=$build/bin/field_bench
command -v convert >/dev/null || { echo "needs ImageMagick's convert (apt-get install imagemagick)" >&2; exit 1; }
[ -x "$render" ] || { echo "no $render: build first" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Appends "wall cpu peak_kb" of one run of the command to file $1, in seconds and KB: the
# peak from GNU time, CPU (user + sys of every thread) from the shell's own account of its
# children, both times to the millisecond.
measure() {
    local into=$1
    shift
    local start end
    start=$(date +%s%N)
    (
        /usr/bin/time -o "$tmp/time" -f "%M" "$@" >/dev/null 2>"$tmp/err" ||
            { cat "$tmp/err" >&2; exit 1; }
        times >"$tmp/times"
    )
    end=$(date +%s%N)
    local cpu
    cpu=$(tail -n 1 "$tmp/times" | sed 's/\([0-9]*\)m\([0-9.]*\)s/\1 \2/g' | awk '{ print 60 * $1 + $2 + 60 * $3 + $4 }')
    awk -v wall="$(((end - start) / 1000000))" -v cpu="$cpu" \
        '{ printf "%.3f %.3f %d\n", wall / 1000, cpu, $1 }' "$tmp/time" >>"$into"
}
calc() { awk "BEGIN { print $1 }"; }
min_of() { sort -g -k"$2" "$1" | head -n 1 | awk -v c="$2" '{ print $c }'; }
max_of() { sort -g -k"$2" "$1" | tail -n 1 | awk -v c="$2" '{ print $c }'; }

for ((r = 1; r <= rounds; r++)); do
    measure "$tmp/plakett" "$render" --states 3 --format png "$here/big1000.shp" "$tmp/b.png"
    measure "$tmp/magick" "$here/imagemagick_buttons.sh" "$tmp/im"
    measure "$tmp/version" "$render" --version
    "$render" --timings --format png "$here/button500x250.shp" "$tmp/f.png" 2>&1 |
        sed -n 's/.*field_ms=\([0-9.]*\).*/\1/p' >>"$tmp/field_cold"
    if [ -x "$field_bench" ]; then
        "$field_bench" --benchmark_filter='BM_FieldFast/2/' --benchmark_format=csv 2>/dev/null |
            awk -F, '/BM_FieldFast/ { print $3, $4 }' >>"$tmp/field_warm"
    fi
done

pw=$(min_of "$tmp/plakett" 1) pc=$(min_of "$tmp/plakett" 2) pm=$(max_of "$tmp/plakett" 3)
mw=$(min_of "$tmp/magick" 1) mc=$(min_of "$tmp/magick" 2) mm=$(max_of "$tmp/magick" 3)
echo "rounds: $rounds on $(nproc) cores, $(uname -m), load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-44s %8s %8s %9s\n' "" "wall s" "cpu s" "peak MB"
printf '%-44s %8.3f %8.3f %9.1f\n' "plakett-render 1000x500, 3 states, PNG" "$pw" "$pc" "$(calc "$pm / 1024")"
printf '%-44s %8.3f %8.3f %9.1f\n' "ImageMagick, same button, 3 states, BMP" "$mw" "$mc" "$(calc "$mm / 1024")"
printf '%-44s %8.3f %8.3f %9.1f\n' "plakett-render --version" "$(min_of "$tmp/version" 1)" \
    "$(min_of "$tmp/version" 2)" "$(calc "$(max_of "$tmp/version" 3) / 1024")"
printf 'ImageMagick / plakett-render: %.1fx wall, %.1fx cpu\n' \
    "$(calc "$mw / $pw")" "$(calc "$mc / $pc")"
cold=$(sort -g "$tmp/field_cold" | head -n 1)
if [ -s "$tmp/field_warm" ]; then
    warm=$(sort -g -k1 "$tmp/field_warm" | head -n 1 | cut -d' ' -f1)
    warm_cpu=$(sort -g -k2 "$tmp/field_warm" | head -n 1 | cut -d' ' -f2)
    printf 'field of the 500x250 button: cold %.1f ms (--timings), warm %.1f ms real, %.1f ms cpu (field_bench): %.2fx\n' \
        "$cold" "$warm" "$warm_cpu" "$(calc "$cold / $warm")"
else
    printf 'field of the 500x250 button: cold %.1f ms (--timings)\n' "$cold"
fi
