#!/bin/bash
# Installs what is missing, builds all three presets and runs every test:
# natively (with sanitizers), under Wine, and the 32-bit stage under 32-bit
# Wine (emulated where the machine cannot run 32-bit code).
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Wine prefixes take minutes to make: they are made beside the builds.
bash scripts/wine-session prepare build/win64/wine &
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 bash scripts/wine-session prepare build/win64/wine-japanese &
if bash scripts/wine32-ready.sh >/dev/null; then bash scripts/wine-session prepare --32 build/win32/wine & fi
bash scripts/build.sh native win64
status=0
echo "== README commands"
bash scripts/check-readme-commands.sh || status=1
echo "== native tests"
ctest --preset native -j "$(nproc)" || status=1
echo "== fuzz targets, a short run each"
bash scripts/fuzz.sh --runs 20000 || status=1

# The Windows tests mostly wait (more than 90 % of the CPU is idle): the
# 32-bit build, and those of its tests that bind no camera port, run beside
# them at a lower priority. The 32-bit tests that bind camera ports follow.
stage_log=build/win32-stage.log
mkdir -p build
(
  nice -n 10 bash scripts/build.sh win32 || exit 1
  if reason=$(bash scripts/wine32-ready.sh); then
    nice -n 10 ctest --preset win32 -j "$(nproc)" -LE camera_ports || exit 1
  else
    echo "32-bit stage skipped: $reason"
  fi
) >"$stage_log" 2>&1 &
stage=$!
echo "== win64 tests under Wine (the 32-bit build and stage beside them: $stage_log)"
ctest --preset win64 -j "$(nproc)" || status=1
wait $stage || status=1
echo "== win32 build and tests under 32-bit Wine"
cat "$stage_log"
if reason=$(bash scripts/wine32-ready.sh); then
  [ -f build/win32/build.ninja ] && { ctest --preset win32 -j "$(nproc)" -L camera_ports || status=1; }
fi
wait
exit $status
