#!/usr/bin/env bash
# Builds the libraries the engine links (zlib, libpng, libjpeg-turbo, libwebp, pugixml)
# for WebAssembly from Debian's own source packages, into build-wasm/deps/prefix.
# Emscripten's ports would download them; these come through apt like everything else.
# The result is kept: a library is built again only when its Debian source version changes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD/build-wasm/deps
prefix=$root/prefix
mkdir -p "$root/src" "$root/build" "$prefix"
jobs=${PLAKETT_JOBS:-2}

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# apt-get source needs a deb-src entry; the one added points at the archive apt already uses.
ensure_sources() {
    if apt-get source --print-uris zlib >/dev/null 2>&1; then return; fi
    local uri
    uri=$(grep -rhoE 'https?://deb\.debian\.org/debian/?' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null | head -n 1)
    uri=${uri:-http://deb.debian.org/debian}
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "Adding a deb-src entry for $uri $codename"
    $SUDO tee /etc/apt/sources.list.d/plakett-src.sources >/dev/null <<SRC
Types: deb-src
URIs: $uri
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    $SUDO apt-get update -qq
}

# The source version apt would fetch, e.g. "1.6.39-2+deb12u5".
source_version() {
    apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ {print $2}' | sort -V | tail -n 1
}

# Unpacks Debian's source of $1 (patches applied) into src/ and prints its folder.
fetch_source() {
    local pkg=$1 version=$2 dir=$root/src/$1-${2#*:}
    if [ ! -d "$dir" ]; then
        local tmp=$root/src/tmp-$pkg
        rm -rf "$tmp" && mkdir -p "$tmp"
        (cd "$tmp" && apt-get source -qq "$pkg=$version" >/dev/null 2>&1 ||
            apt-get source -qq "$pkg" >/dev/null)
        local unpacked
        unpacked=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)
        mv "$unpacked" "$dir"
        rm -rf "$tmp"
    fi
    echo "$dir"
}

built() { [ -f "$prefix/.built-$1" ] && [ "$(cat "$prefix/.built-$1")" = "$2" ]; }
mark() { echo "$2" >"$prefix/.built-$1"; }

# Runs a build step quietly; its output is shown only when it fails.
quiet() {
    local log=$root/build/last.log
    "$@" >"$log" 2>&1 || { tail -n 40 "$log"; echo "failed: $*" >&2; exit 1; }
}

cmake_build() {
    local name=$1 src=$2
    shift 2
    rm -rf "$root/build/$name"
    quiet emcmake cmake -S "$src" -B "$root/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_FIND_ROOT_PATH="$prefix" "$@"
    quiet cmake --build "$root/build/$name" -j "$jobs"
    quiet cmake --install "$root/build/$name"
}

# Builds Debian's source package $2 with cmake, once per source version; $1 names the build
# and its stamp, the rest are cmake options.
cmake_package() {
    local name=$1 pkg=$2 v
    shift 2
    v=$(source_version "$pkg")
    if built "$name" "$v"; then return; fi
    echo "Building $pkg $v for wasm"
    cmake_build "$name" "$(fetch_source "$pkg" "$v")" "$@"
    mark "$name" "$v"
}

# Debian's emscripten runs its JavaScript tools with node and finds their modules (acorn)
# in Debian's node folder, which a node from elsewhere does not search by itself.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

ensure_sources

v=$(source_version zlib)
if ! built zlib "$v"; then
    echo "Building zlib $v for wasm"
    src=$(fetch_source zlib "$v")
    rm -rf "$root/build/zlib" && cp -r "$src" "$root/build/zlib"
    (cd "$root/build/zlib" && quiet emconfigure ./configure --static --prefix="$prefix" &&
        quiet emmake make -j "$jobs" libz.a && quiet emmake make install)
    mark zlib "$v"
fi

cmake_package libpng libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a"

v=$(source_version libjpeg-turbo)
if ! built libjpeg "$v"; then
    echo "Building libjpeg-turbo $v for wasm"
    src=$(fetch_source libjpeg-turbo "$v")
    # The type-size probes misread wasm32 under emcmake, so the sizes are given. Only the
    # library is built (its programs are not needed) and installed by hand.
    b=$root/build/libjpeg
    rm -rf "$b"
    quiet emcmake cmake -S "$src" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
        -DHAVE_SIZE_T=TRUE -DSIZE_T=4 -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4
    quiet cmake --build "$b" -j "$jobs" --target jpeg-static
    cp "$b/libjpeg.a" "$prefix/lib/"
    cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$b/jconfig.h" "$prefix/include/"
    mark libjpeg "$v"
fi

cmake_package pugixml pugixml -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include

cmake_package libwebp libwebp -DBUILD_SHARED_LIBS=OFF -DWEBP_USE_THREAD=OFF \
    -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF \
    -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
    -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF \
    -DWEBP_BUILD_WEBP_JS=OFF -DWEBP_BUILD_LIBWEBPMUX=OFF
