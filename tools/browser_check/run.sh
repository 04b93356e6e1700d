#!/usr/bin/env bash
# Renders the demo menu with plakett-render twice (captions in the pictures; and live text
# with WebP copies in one sheet, as --scale 3 --html --live-text --webp --sheet) and checks
# both pages in headless Chromium at device scale 1, 2 and 3: mouse, keyboard, focus,
# disabled, densities, and the style sheet dropped onto <a> and <button> of a page of its
# own. Not part of the test suite: it needs Debian's chromium and puppeteer-core from npm
# (no browser is downloaded).
# usage: tools/browser_check/run.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
out="$(mkdir -p "${2:-$build/browser_check}" && cd "${2:-$build/browser_check}" && pwd)"

if [ ! -x /usr/bin/chromium ]; then
    apt-get install -y chromium
fi
work="$build/browser_check_node"
mkdir -p "$work"
cp "$here/package.json" "$here/check.mjs" "$work/"
(cd "$work" && PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --silent)

# usage: render OUTPUT [options]
render() {
    local output="$1"
    shift
    QT_QPA_PLATFORM=offscreen "$build/bin/plakett-render" "$@" \
        --captions "$root/docs/demo/menu.txt" "$root/docs/demo/demo.tbp" "$output"
}
rm -rf "$out/site" "$out/live"
mkdir -p "$out/site" "$out/live"
render "$out/site/menu.png" --scale 3 --html
render "$out/live/menu.png" --scale 3 --html --live-text --webp --sheet
status=0
node "$work/check.mjs" "$out/site/menu.html" "$out/shots/site" || status=1
node "$work/check.mjs" "$out/live/menu.html" "$out/shots/live" || status=1
echo "screenshots in $out/shots"
exit $status
