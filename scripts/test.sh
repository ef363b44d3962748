#!/usr/bin/env bash
# Builds everything and runs every test (core, batch command, windows offscreen).
set -eu
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
