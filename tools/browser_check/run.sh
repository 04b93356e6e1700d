#!/usr/bin/env bash
# Renders the demo menu with plakett-render and checks its page in headless Chromium at
# device scale 1 and 2 (screenshots at rest, hovered and pressed). Not part of the test
# suite: it needs Debian's chromium and puppeteer-core from npm (no browser is downloaded).
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

mkdir -p "$out/site"
QT_QPA_PLATFORM=offscreen "$build/bin/plakett-render" --scale 2 --sprite --html \
    --captions "$root/docs/demo/menu.txt" "$root/docs/demo/demo.tbp" "$out/site/menu.png"
node "$work/check.mjs" "$out/site/menu.html" "$out/shots"
echo "screenshots in $out/shots"
