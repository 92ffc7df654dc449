#!/usr/bin/env bash
# Draws every page of the demo window under a virtual X display into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
out=docs/screenshots
mkdir -p "$out"
for page in Desktop Direct3D OpenGL Advanced DVD "Rage 128 Info" "System Info" About; do
  file="$out/$(echo "$page" | tr -d ' ' | tr '[:upper:]' '[:lower:]').png"
  xvfb-run -a -s "-screen 0 1024x768x24" "${BUILD_DIR:-build}/src/corvane" --demo --page "$page" \
    --screenshot "$file" 2>/dev/null
done
