#!/usr/bin/env bash
# The renderer compiled to WebAssembly, under node, against the native plakett-render: for
# every project and shape the tests and the shipped library use, and for each set of
# options below, both must write the same files byte for byte, or fail with the same
# message. A design with a caption must be refused by node with its own message.
# usage: compare_node_renderer.sh NATIVE_RENDERER NODE_RENDERER_MJS SOURCE_DIR
set -uo pipefail
native=$1
web=$2
src=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

option_sets=(
    ""
    "--format png"
    "--format jpg --quality 75 --states 2"
    "--scale 2 --sprite --html"
    "--scale 2 --format bmp --states 1"
    "--format webp --quality 80"
    "--scale 2 --sprite --webp"
    "--texture-origin -40,17 --scale 3 --format bmp --states 1"
)

mapfile -t inputs < <(find "$src/tests/data" "$src/data/Buttons" "$src/data/Other" "$src/docs" \
    "$src/tools" -type f \( -name '*.tbp' -o -name '*.shp' \) | sort)

failures=0 compared=0 refused=0 errors=0
for input in "${inputs[@]}"; do
    for options in "${option_sets[@]}"; do
        rm -rf "$work/n" "$work/w" && mkdir -p "$work/n" "$work/w"
        # shellcheck disable=SC2086
        "$native" $options "$input" "$work/n/out.png" >/dev/null 2>"$work/n.err"
        native_rc=$?
        # shellcheck disable=SC2086
        node "$web" $options "$input" "$work/w/out.png" >/dev/null 2>"$work/w.err"
        web_rc=$?
        what="$(basename "$input") [${options:-defaults}]"
        if [ $native_rc -eq 0 ] && [ $web_rc -ne 0 ] && grep -q "captions cannot be drawn here" "$work/w.err"; then
            refused=$((refused + 1))
            [ -z "$(ls "$work/w")" ] || { echo "FAIL $what: files left after the refusal"; failures=$((failures + 1)); }
            continue
        fi
        if [ $native_rc -ne 0 ] || [ $web_rc -ne 0 ]; then
            if [ $native_rc -ne 0 ] && [ $web_rc -ne 0 ] && cmp -s "$work/n.err" "$work/w.err"; then
                errors=$((errors + 1))
            else
                echo "FAIL $what: exit $native_rc / $web_rc"
                sed 's/^/  native: /' "$work/n.err"
                sed 's/^/  node:   /' "$work/w.err"
                failures=$((failures + 1))
            fi
            continue
        fi
        if ! diff -r -q "$work/n" "$work/w" >"$work/diff"; then
            echo "FAIL $what: files differ"
            sed 's/^/  /' "$work/diff"
            failures=$((failures + 1))
        else
            compared=$((compared + 1))
        fi
    done
done
echo "node renderer: $compared runs byte for byte equal, $errors equal refusals, $refused captions refused, $failures failures (${#inputs[@]} inputs)"
[ $failures -eq 0 ] && [ $compared -gt 0 ]
