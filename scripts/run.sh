#!/bin/sh
# Installs what is missing, builds and starts Taliso; arguments go to the program.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)"
exec ./build/release/bin/Taliso "$@"
