#!/usr/bin/env bash
# Builds the Debian package, has lintian look at it where lintian is installed, and tries it
# as a user would: installs it, runs plakett-render from PATH, checks the menu entry and the
# copyright file, then removes it and looks for leftovers.
# In a throw-away container when a Docker daemon answers; otherwise on this machine (as
# root), where it is purged again at the end.
# usage: bash tools/check_deb.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/plakett_*.deb | head -n 1)
deb=$(realpath "$deb")
echo "package: $deb"
dpkg-deb -f "$deb" Package Version Depends
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" || { echo "lintian finds faults in the package" >&2; exit 1; }
    echo "lintian: no errors or warnings"
fi

check='set -e
plakett-render --version
test -f /usr/share/applications/org.plakett.Plakett.desktop
test -f /usr/share/plakett/data/Buttons/Pill.shp
grep -q "^License: Expat" /usr/share/doc/plakett/copyright
cd "$(mktemp -d)" && plakett-render --states 1 /usr/share/plakett/data/Buttons/Pill.shp pill.bmp
test -s pill_off.bmp
plakett-render --states 1 --format png --caption Go /usr/share/plakett/data/Buttons/Pill.shp go.png
test -s go_off.png
# Where the tools that index them are present, the man page and file types are known.
if command -v man >/dev/null; then man -w plakett-render; fi
if [ -f /usr/share/mime/types ]; then grep -qx application/x-plakett-project /usr/share/mime/types; fi
if [ -f /usr/share/applications/mimeinfo.cache ]; then
    grep -q "x-plakett-project=.*org.plakett.Plakett.desktop" /usr/share/applications/mimeinfo.cache
fi'

if timeout 10 docker info >/dev/null 2>&1; then
    docker run --rm -v "$deb:/tmp/plakett.deb:ro" debian:bookworm bash -c "
        apt-get update -qq && apt-get install -y -qq /tmp/plakett.deb >/dev/null
        $check
        apt-get purge -y -qq plakett >/dev/null
        ! command -v plakett-render && test ! -e /usr/share/plakett"
    echo "installed, run and removed in a debian:bookworm container"
    exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "needs root (or a Docker daemon)" >&2; exit 1; }
if dpkg-query -W plakett >/dev/null 2>&1; then
    echo "plakett is already installed here; not touching it" >&2
    exit 1
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
files=$(dpkg-query -L plakett)
status=0
(cd / && bash -c "$check") || status=$?
echo "from PATH: $(command -v plakett-render)"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq plakett >/dev/null
left=()
while IFS= read -r f; do
    # Directories such as /usr/share/man are shared with other packages; files are ours.
    if [ -e "$f" ] && [ ! -d "$f" ]; then left+=("$f"); fi
done <<<"$files"
[ -e /usr/share/plakett ] && left+=(/usr/share/plakett)
if dpkg-query -W -f='${Status}' plakett 2>/dev/null | grep -q installed; then
    left+=("package still registered")
fi
if [ ${#left[@]} -gt 0 ]; then
    printf 'left behind: %s\n' "${left[@]}" >&2
    exit 1
fi
[ "$status" -eq 0 ] || { echo "the installed program failed its checks" >&2; exit 1; }
echo "installed, run from PATH and purged on this machine without leftovers"
