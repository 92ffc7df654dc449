#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 into build-windows/ (or $BUILD_DIR) and runs the
# core's tests under Wine: the portable tests, and those that hold the Win32 back end against
# Windows' own registry, regedit and system calls. Exits non-zero when anything fails.
#   scripts/windows-test.sh [gtest arguments...]
# Needs the "windows" package group of scripts/setup.sh. The Wine prefix is made afresh in a
# temporary folder for each run, without a display, and removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh windows

build_dir="${BUILD_DIR:-build-windows}"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCORVANE_WITH_QT=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$build_dir" --target corvane corvane_core_tests

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/corvane-wine-XXXXXX")
export WINEPREFIX="$prefix/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
# Windows-1252 as the prefix's ANSI code page, which REGEDIT4 files are written in.
export LC_ALL=C.UTF-8
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT

echo "Creating the Wine prefix in $WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1

cd "$build_dir/tests"
"$wine" ./corvane_core_tests.exe --gtest_brief=1 "$@"
