#!/bin/bash
# Configures (once) and builds the given presets, default all three.
set -eu
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(native win64 win32)
for preset in "${presets[@]}"; do
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  echo "== building $preset"
  cmake --build --preset "$preset"
done
