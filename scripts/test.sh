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
echo "== win32 tests under 32-bit Wine"
if reason=$(bash scripts/wine32-ready.sh); then
  ctest --preset win32 -j "$(nproc)" || status=1
else
  echo "32-bit stage skipped: $reason"
fi
wait
exit $status
