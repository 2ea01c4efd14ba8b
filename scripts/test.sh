#!/bin/bash
# Installs what is missing, builds all three presets and runs every test:
# natively (with sanitizers) and under Wine.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh native win64 win32
status=0
echo "== README commands"
bash scripts/check-readme-commands.sh || status=1
echo "== native tests"
ctest --preset native -j "$(nproc)" || status=1
echo "== fuzz targets, a short run each"
bash scripts/fuzz.sh --runs 20000 || status=1
echo "== win64 tests under Wine"
ctest --preset win64 -j "$(nproc)" || status=1
exit $status
