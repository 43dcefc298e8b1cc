#!/usr/bin/env bash
# Builds both presets: the native core with its tests, and the Windows program.
#   scripts/build.sh            both
#   scripts/build.sh host       only the native build
#   scripts/build.sh windows    only the Windows build
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("${@:-host windows}")
for preset in ${presets[*]}; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
