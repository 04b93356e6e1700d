#!/usr/bin/env bash
# Sets up everything and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
jobs=$(nproc 2>/dev/null || echo 2)
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
