#!/usr/bin/env bash
# Builds the core alone (no Qt, as the Windows build and the clock mode need it) into
# build-core/ and runs its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=build-core \
  CMAKE_ARGS="-DCORVANE_WITH_QT=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_WERROR=ON ${CMAKE_ARGS:-}" \
  ./scripts/build.sh
cd build-core
ctest --output-on-failure -j "$(nproc)"
