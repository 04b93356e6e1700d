#!/usr/bin/env bash
# Sets up everything and starts Plakett. Without a desktop (no DISPLAY), or before the
# desktop program exists, it renders a sample button with the headless renderer instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -x build/bin/plakett ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/plakett "$@"
fi
mkdir -p out
sample=data/Buttons/Pill.shp
[ -f "$sample" ] || sample=$(ls data/Buttons/*.shp 2>/dev/null | head -n 1)
if [ -z "${sample:-}" ]; then
    build/bin/plakett-render --help
    exit 0
fi
build/bin/plakett-render --timings "$sample" out/sample.bmp
echo "Rendered $sample into out/ (sample_off.bmp, sample_over.bmp, sample_down.bmp)."
