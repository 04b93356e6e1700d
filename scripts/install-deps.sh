#!/usr/bin/env bash
# Installs the Debian packages Plakett needs to build, test and run (with --bench, also
# what the benchmarks compare against). Safe to re-run.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libjpeg62-turbo-dev libpng-dev libwebp-dev libpugixml-dev qt6-svg-dev
    libgtest-dev libbenchmark-dev
    fonts-liberation2 fontconfig
    xvfb xauth
    desktop-file-utils appstream libxml2-utils
    emscripten nodejs dpkg-dev python3
)

# The cold-run comparison (bench/cold_run.sh) runs ImageMagick beside plakett-render.
if [ "${1:-}" = "--bench" ]; then
    packages+=(imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
