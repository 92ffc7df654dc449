#!/usr/bin/env bash
# Configures and builds Corvane into build/ (or the folder given as $BUILD_DIR). Extra CMake
# options may be given in $CMAKE_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  "${launcher[@]}" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir"
