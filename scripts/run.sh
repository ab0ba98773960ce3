#!/bin/sh
# Installs what is missing, builds the program with the libraries it loads and the device
# emulator (not the tests or benchmarks), and starts Taliso; arguments go to the program.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)" --target Taliso LAN_ENG DIAGNOSE dravdlg taliso-emulator
exec ./build/release/bin/Taliso "$@"
