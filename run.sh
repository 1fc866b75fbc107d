#!/bin/sh
# Installs what is missing, builds and starts Kalendra; arguments are passed on
# (for example ./run.sh --home DIR).
set -eu
cd "$(dirname "$0")"
./scripts/install-deps
BUILD_DIR=${KALENDRA_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" --target kalendra
exec "$BUILD_DIR/kalendra" "$@"
