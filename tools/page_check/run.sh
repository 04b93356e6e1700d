#!/usr/bin/env bash
# Drives the editor page (build-web/) in Debian's headless chromium through window.plakett:
# loads a project, compares its states with plakett-render's, drags a point, undoes, exports
# a zip's files and checks their names, and takes screenshots at 1280 x 800 and 390 x 844.
# Not part of the test suite: it needs chromium and puppeteer-core from npm (no browser is
# downloaded). usage: tools/page_check/run.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
out="$(mkdir -p "${2:-$build/page_check}" && cd "${2:-$build/page_check}" && pwd)"
port=${PLAKETT_WEB_PORT:-8080}

[ -x /usr/bin/chromium ] || apt-get install -y chromium
[ -f "$root/build-web/index.html" ] || bash "$root/scripts/web-build.sh"
work="$build/page_check_node"
mkdir -p "$work"
cp "$here/package.json" "$here/check.mjs" "$work/"
(cd "$work" && PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --silent)

python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build-web" >/dev/null 2>&1 &
server=$!
trap 'kill $server' EXIT
sleep 1
node "$work/check.mjs" "http://127.0.0.1:$port/" "$build/bin/plakett-render" "$root" "$out"
echo "screenshots in $out"
