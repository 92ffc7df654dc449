#!/usr/bin/env bash
# Configures and builds Corvane into build/ (or the folder given as $BUILD_DIR). Extra CMake
# options may be given in $CMAKE_ARGS. $BUILD_TYPE is the build type (RelWithDebInfo for a new
# folder); without it a folder configured before keeps its own, so that building over it (as
# the packaging check does over the test build) compiles nothing again.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
build_type=()
if [ -n "${BUILD_TYPE:-}" ] || [ ! -f "$build_dir/CMakeCache.txt" ]; then
  build_type=(-DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}")
fi
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -G Ninja "${build_type[@]}" "${launcher[@]}" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir"
