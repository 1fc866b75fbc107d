#!/bin/sh
# Installs what is missing, builds everything and runs every test offscreen.
set -eu
cd "$(dirname "$0")"
./scripts/install-deps
BUILD_DIR=${KALENDRA_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DKALENDRA_BUILD_TOOLS=ON >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)"
