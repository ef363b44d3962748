#!/usr/bin/env bash
# Installs what is missing and builds everything into ${BUILD_DIR:-build}.
set -eu
cd "$(dirname "$0")/.."
bash scripts/deps.sh "$@"
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
