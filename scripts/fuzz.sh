#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each for $FUZZ_SECONDS seconds (30 by default), seeded from the
# folders fuzz/targets.txt names. Stops at the first target that finds a fault; the input that
# caused it is left in build-fuzz/crashes/. BUILD_TYPE=Debug builds them unoptimised: quicker to
# build, slower to run, as for a short check.
#   scripts/fuzz.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh fuzz
build_dir=build-fuzz
seconds=${FUZZ_SECONDS:-30}
CC=clang-14 CXX=clang++-14 BUILD_DIR=$build_dir BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  CMAKE_ARGS="-DCORVANE_FUZZ=ON -DCORVANE_WITH_QT=OFF -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF ${CMAKE_ARGS:-}" \
  ./scripts/build.sh
mkdir -p "$build_dir/crashes"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
while read -r target seeds; do
  [[ -z $target || $target == \#* ]] && continue
  if [ $# -gt 0 ] && [[ ! " $* " == *" $target "* ]]; then continue; fi
  corpus="$build_dir/corpus/$target"
  mkdir -p "$corpus"
  for seed in $seeds; do
    find "$seed" -type f -size -1M -exec cp -n {} "$corpus/" \; 2>/dev/null || true
  done
  echo "== $target: $seconds s"
  "$build_dir/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -artifact_prefix="$build_dir/crashes/$target-" -print_final_stats=1 "$corpus" 2>&1 |
    grep -E '^(#|==|SUMMARY|INFO: -max_total|Done|stat::number_of_executed_units)' | tail -4
done < fuzz/targets.txt
