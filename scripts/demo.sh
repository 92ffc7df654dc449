#!/usr/bin/env bash
# Installs what is missing, builds, and runs Corvane on its demo machine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
exec "${BUILD_DIR:-build}/src/corvane" --demo "$@"
