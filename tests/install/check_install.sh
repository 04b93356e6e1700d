#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user gets: the file list,
# the programs working from there, and the desktop files passing their validators.
# usage: check_install.sh BUILD_DIR SOURCE_DIR VERSION MODULE_DIR
set -euo pipefail
build=$1 source=$2 version=$3 module_dir=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
stage=$tmp/stage
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$stage" >/dev/null
id=org.plakett.Plakett
expected=(
    bin/plakett bin/plakett-render "$module_dir/plakett-captions.so"
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
    "share/mime/packages/$id.xml" "share/icons/hicolor/scalable/apps/$id.svg"
    share/man/man1/plakett.1.gz share/man/man1/plakett-render.1.gz
    share/doc/plakett/README.md share/doc/plakett/changelog.gz share/doc/plakett/copyright
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
# The README's pages, pictures and demo project go beside it.
while IFS= read -r f; do
    expected+=("share/doc/plakett/docs/$f")
done < <(cd "$source/docs" && find . -type f ! -name '.*' ! -name '*.py' | sed 's|^\./||')
# The shipped tree goes as a whole, less what only serves the build.
while IFS= read -r f; do
    expected+=("share/plakett/data/$f")
done < <(cd "$source/data" && find . -type f ! -name 'CMakeLists.txt' ! -name '.*' \
    ! -name '*.in' ! -name '*.py' ! -name '*.sh' | sed 's|^\./||')
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$stage" && find . -type f | sed 's|^\./||' | sort) ||
    fail "installed files differ from the expected list (< expected, > installed)"
[ -n "$(ls "$stage/share/plakett/data/Buttons")" ] || fail "no shipped shapes installed"
grep -q '^License: Expat$' "$stage/share/doc/plakett/copyright" || fail "copyright names no licence"

# From an unrelated folder, the installed programs run and render every shipped shape.
mkdir -p "$tmp/out" && cd "$tmp"
[ "$("$stage/bin/plakett-render" --version)" = "plakett-render $version" ] || fail "--version"
[ "$("$stage/bin/plakett" --version)" = "plakett $version" ] || fail "plakett --version"
n=0
for shape in "$stage"/share/plakett/data/{Buttons,Other}/*.shp; do
    "$stage/bin/plakett-render" --states 1 --format png "$shape" "out/s$n.png" ||
        fail "cannot render $shape"
    [ -s "out/s${n}_off.png" ] || fail "no image for $shape"
    n=$((n + 1))
done

# Captions come from the installed module; a run without one never maps Qt.
"$stage/bin/plakett-render" --caption "Go" --states 1 "$stage/share/plakett/data/Buttons/Pill.shp" \
    out/caption.png || fail "cannot render a caption from the prefix"
maps=$(LD_DEBUG=files "$stage/bin/plakett-render" --states 1 \
    "$stage/share/plakett/data/Buttons/Pill.shp" out/plain.bmp 2>&1)
! grep -q "libQt" <<<"$maps" || fail "a run without caption loads Qt"

# The desktop program starts from the prefix and fills a new data folder.
status=0
timeout 4 "$stage/bin/plakett" --data "$tmp/home" 2>"$tmp/gui.err" || status=$?
[ "$status" -eq 124 ] || { cat "$tmp/gui.err" >&2; fail "plakett exited with $status"; }
[ -n "$(ls "$tmp/home/Buttons")" ] || fail "data folder not seeded"
! grep -q "not found" "$tmp/gui.err" || fail "shipped library not found"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$stage/share/applications/$id.desktop"
fi
if command -v appstreamcli >/dev/null; then
    # The whole tree, so the metainfo is checked against its desktop entry as well.
    appstreamcli validate-tree --no-net "$stage" >"$tmp/appstream.log" ||
        { cat "$tmp/appstream.log" >&2; fail "appstream"; }
fi
if command -v xmllint >/dev/null; then
    xmllint --noout "$stage/share/mime/packages/$id.xml" \
        "$stage/share/icons/hicolor/scalable/apps/$id.svg"
fi
if command -v update-mime-database >/dev/null; then
    # The MIME file compiles into a database.
    update-mime-database "$stage/share/mime" >/dev/null 2>&1 || fail "MIME file rejected"
fi
echo "installed and checked $n shapes"
