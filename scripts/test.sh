#!/bin/sh
# Installs what is missing, builds twice (normal, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite in both builds.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
JOBS="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
# Leaks are reported; tests/lsan.supp (set through CTest) names what outside libraries keep.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
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

# The fuzz targets (clang, instrumented, sanitizers on) build alone, without the tests, and
# each runs briefly from its seed corpus with a fixed seed, so they keep building and
# running; new inputs go to a scratch directory. Longer runs: fuzz/README.md.
FUZZ_RUNS="${FUZZ_RUNS:-20000}"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DTALISO_FUZZ=ON -DTALISO_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" >/dev/null
cmake --build build/fuzz -j "$JOBS" --target fuzz_targets
fuzz_scratch="$(mktemp -d)"
trap 'rm -rf "$fuzz_scratch"' EXIT
for corpus in fuzz/corpus/*/; do
    target="$(basename "$corpus")"
    mkdir -p "$fuzz_scratch/$target"
    log="$fuzz_scratch/$target.log"
    if ! "build/fuzz/bin/fuzz_$target" -seed=1 -runs="$FUZZ_RUNS" -max_total_time=5 \
        -artifact_prefix="$fuzz_scratch/" "$fuzz_scratch/$target" "$corpus" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target found a fault; its input in base64:"
        for found in "$fuzz_scratch"/crash-* "$fuzz_scratch"/timeout-* "$fuzz_scratch"/oom-*; do
            [ -f "$found" ] && base64 "$found"
        done
        exit 1
    fi
    echo "fuzz_$target: $(grep -E '^Done|DONE' "$log" | tail -n 1)"
done
echo "All fuzz targets ran without a finding."
