#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, address + undefined sanitizers) into build-fuzz/ and
# runs each for SECONDS seconds, starting from the test inputs and the kept inputs.
#   tools/fuzz.sh [SECONDS] [TARGET...]     default: 600 seconds, every target
# Targets run one after another; start two with FUZZ_NO_BUILD=1 to use both cores.
# A crash, leak, hang or sanitizer report stops a target and leaves the input as
# build-fuzz/findings/<target>/crash-*: copy it to tests/data/fuzz/<target>/ once fixed,
# where the normal tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(shape_file project_file style_file bmp jpeg render svg_shape caption_list)

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-dev
fi

# FUZZ_NO_BUILD=1 runs what is built, for several runs side by side.
if [ -z "${FUZZ_NO_BUILD:-}" ]; then
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DPLAKETT_FUZZ=ON -DPLAKETT_BUILD_TESTS=OFF -DPLAKETT_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"
fi

seeds_for() {
    case "$1" in
    shape_file) echo tests/data/shapes data/Buttons data/Other ;;
    project_file | render) echo tests/data/projects ;;
    style_file) echo tests/data/styles data/Styles ;;
    bmp) echo tests/data/bmp ;;
    jpeg) echo tests/data/jpeg tests/data/styles ;;
    svg_shape) echo tests/data/svg ;;
    esac
}

status=0
for t in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$t
    findings=build-fuzz/findings/$t
    mkdir -p "$corpus" "$findings" "tests/data/fuzz/$t"
    dirs=()
    for d in $(seeds_for "$t") "tests/data/fuzz/$t"; do [ -d "$d" ] && dirs+=("$d"); done
    echo "== $t: ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        build-fuzz/bin/fuzz_"$t" "$corpus" "${dirs[@]}" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$findings/" 2>"build-fuzz/$t.log"; then
        echo "!! $t failed; see build-fuzz/$t.log and $findings/"
        status=1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$t.log" || true
    echo "corpus: $(ls "$corpus" | wc -l) inputs"
done
exit $status
