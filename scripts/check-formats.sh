#!/usr/bin/env bash
# The INI files and version resources against files no one here wrote: installs binutils for
# MinGW and Wine (whose tests are skipped without them), runs those tests, then the two fuzz
# targets for $FUZZ_SECONDS seconds each (30 by default). About five minutes on two cores, most
# of it the sanitizer build of the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh windows fuzz
BUILD_DIR=build-core CMAKE_ARGS="-DCORVANE_WITH_QT=OFF -DCORVANE_BUILD_BENCH=OFF" ./scripts/build.sh
./build-core/tests/corvane_core_tests \
  --gtest_filter='PeVersionResources*:PeWriter*:WindowsPath*:IniFile*:DemoMachine*'
./scripts/fuzz.sh corvane_fuzz_ini_file corvane_fuzz_pe_version
