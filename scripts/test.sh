#!/bin/sh
# Installs what is missing, builds twice (normal, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite in both builds.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

run_build() {
    dir="$1"; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
    ctest --test-dir "$dir" --output-on-failure -j "$JOBS"
}

run_build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTALISO_SANITIZE=ON
echo "All tests passed in both builds."
