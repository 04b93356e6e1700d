#!/usr/bin/env bash
# Runs the library generators into a fresh folder and compares what they write with data/.
#   shipped_data_reproducible.sh MAKE_SHAPES MAKE_STYLES DATA_FOLDER
set -euo pipefail
make_shapes=$1 make_styles=$2 data=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$make_shapes" "$out"
"$make_styles" "$out"
status=0
for folder in Buttons Other Styles Backgrounds; do
    diff -r "$data/$folder" "$out/$folder" || status=1
done
if [[ $status -ne 0 ]]; then
    echo "data/ differs from what tools/ generates: regenerate it (see docs/development.md) or fix the change" >&2
fi
exit $status
