#!/usr/bin/env bash
# Sets up and builds the editor page (build-web/), then serves it at http://localhost:8080/
# with Python's http.server until stopped (Ctrl+C). --build-only builds and returns.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/web-build.sh
[ "${1:-}" = "--build-only" ] && exit 0
port=${PLAKETT_WEB_PORT:-8080}
echo "Plakett in the browser: http://localhost:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web
