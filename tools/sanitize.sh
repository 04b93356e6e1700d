#!/usr/bin/env bash
# Sanitizer runs of the test suite.
#   tools/sanitize.sh address   address + undefined-behaviour build of everything in
#                               build-asan/, then every test (any report fails the run)
#   tools/sanitize.sh thread    thread-sanitizer build of the core tests in build-tsan/,
#                               then the tests that run threads (the field's row workers,
#                               cancellation, concurrent file writers)
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: tools/sanitize.sh address|thread}
jobs=$(nproc 2>/dev/null || echo 2)
common=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAKETT_BUILD_BENCH=OFF)
command -v ccache >/dev/null && common+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

case "$kind" in
address)
    flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
    cmake -S . -B build-asan "${common[@]}" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
    cmake --build build-asan -j "$jobs"
    # Leaks are checked in the core and command-line tests; the GUI tests' toolkit keeps
    # caches until exit that are not ours to free.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^tst_'
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$jobs" -R '^tst_'
    ;;
thread)
    flags="-O1 -g -fsanitize=thread"
    cmake -S . -B build-tsan "${common[@]}" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
    cmake --build build-tsan -j "$jobs" --target core_tests
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build-tsan/bin/core_tests \
        --gtest_filter='Field*:FileWrite.*:RenderStates*:FuzzRegression.*'
    ;;
*)
    echo "usage: tools/sanitize.sh address|thread" >&2
    exit 2
    ;;
esac
echo "sanitizer run ($kind): no findings"
