#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 into build-windows/ (or $BUILD_DIR) and runs the
# core's tests under Wine: the portable tests, and those that hold the Win32 back end against
# Windows' own registry, regedit, profile functions, version.dll and system calls. Then runs the
# clock mode over a copy of the demo machine with this build and with the native one
# ($NATIVE_BUILD_DIR, default build/, when it has been built) and compares what they leave.
# Exits non-zero when anything fails.
#   scripts/windows-test.sh [gtest arguments...]
# Needs the "windows" package group of scripts/setup.sh. The Wine prefix is made afresh in a
# temporary folder for each run, without a display, and removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh windows

build_dir="${BUILD_DIR:-build-windows}"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCORVANE_WITH_QT=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_WERROR=ON "${launcher[@]}" \
  ${CMAKE_ARGS:-} >/dev/null
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

(cd "$build_dir/tests" && "$wine" ./corvane_core_tests.exe --gtest_brief=1 "$@")

# The clock mode over a copy of the demo machine leaves the same registry file and hardware.ini
# as the Linux build does: as the demo is, and again with other clocks stored.
native="${NATIVE_BUILD_DIR:-build}/src/corvane"
if [ ! -x "$native" ]; then
  echo "No native build at $native: the comparison of the clock mode with it is skipped"
  exit 0
fi
for side in linux windows; do cp -r machines/demo "$prefix/$side"; done
setclock() {
  "$native" --machine "$prefix/linux" /setclock
  "$wine" "$build_dir/src/corvane.exe" --machine "Z:$prefix/windows" /setclock
  for file in registry.reg hardware.ini; do
    if ! cmp "$prefix/linux/$file" "$prefix/windows/$file"; then
      echo "The clock mode's $file differs between the Linux and the Windows build ($1)" >&2
      exit 1
    fi
  done
}
setclock "the demo machine"
for side in linux windows; do
  sed -i -e 's/"CoreClk"=dword:00000067/"CoreClk"=dword:00000078/' \
    -e 's/"MemClk"=dword:00000067/"MemClk"=dword:00000082/' "$prefix/$side/registry.reg"
done
setclock "other clocks stored"
grep -q '^CoreClock=120' "$prefix/windows/hardware.ini" || {
  echo "The Windows build did not program the stored clocks" >&2
  exit 1
}
echo "The clock mode leaves the same files in both builds"
