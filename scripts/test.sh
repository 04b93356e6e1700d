#!/usr/bin/env bash
# Sets up everything and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
jobs=$(nproc 2>/dev/null || echo 2)
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
# The engine as WebAssembly: the page's build, and its renderer under node against the
# native one, byte for byte.
bash scripts/web-build.sh
bash tests/web/compare_node_renderer.sh build/bin/plakett-render build-web/plakett-render.mjs "$PWD"
