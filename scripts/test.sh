#!/usr/bin/env bash
# Builds everything and runs every test (core, batch command, windows offscreen).
set -eu
cd "$(dirname "$0")/.."
bash scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
