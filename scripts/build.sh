#!/bin/sh
# Configures and builds the given presets (default: native win32 win64) with two jobs.
set -eu
cd "$(dirname "$0")/.."
for preset in ${*:-native win32 win64}; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
