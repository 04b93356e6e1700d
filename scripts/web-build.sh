#!/usr/bin/env bash
# Builds the engine as WebAssembly into build-wasm/ and assembles build-web/: the editor page
# (static files for any web server) and plakett-render.mjs for node. The C libraries are
# built once from Debian's sources (scripts/web-deps.sh) and kept in build-wasm/deps/.
set -euo pipefail
cd "$(dirname "$0")/.."
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs # see web-deps.sh
jobs=${PLAKETT_JOBS:-$(nproc 2>/dev/null || echo 2)}
bash scripts/web-deps.sh
out=$PWD/build-web
if [ ! -f build-wasm/CMakeCache.txt ]; then
    emcmake cmake -S web -B build-wasm -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DPLAKETT_WEB_DEPS="$PWD/build-wasm/deps/prefix" -DPLAKETT_WEB_OUT="$out/engine" >/dev/null
fi
cmake --build build-wasm -j "$jobs"
mkdir -p "$out"
cp web/node/plakett-render.mjs "$out/"
cp web/page/*.html web/page/*.css web/page/*.js "$out/"
# The shipped library, and its list for the page.
rm -rf "$out/data" && mkdir -p "$out/data"
for folder in Buttons Other Styles Backgrounds; do
    cp -r "data/$folder" "$out/data/"
done
python3 - "$out/data" <<'PY'
import json, os, sys
root = sys.argv[1]
index = {}
for folder, ext in (("Buttons", ".shp"), ("Other", ".shp"), ("Styles", ".jpgs"), ("Backgrounds", ".jpg")):
    names = sorted(f[: -len(ext)] for f in os.listdir(os.path.join(root, folder)) if f.endswith(ext))
    index[folder] = names
with open(os.path.join(root, "index.json"), "w") as out:
    json.dump(index, out, indent=1)
PY
echo "Built $out (serve it with: python3 -m http.server 8080 --directory build-web)"
