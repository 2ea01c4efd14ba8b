#!/bin/bash
# Runs every fuzz target (fuzz/, built with the host clang by the fuzz preset)
# on its seed corpus in fuzz/corpus, one after the other:
#   scripts/fuzz.sh [SECONDS]   each target for SECONDS (default 60), keeping
#                               what it finds new in build/fuzz/corpus
#   scripts/fuzz.sh --runs N    each target for N executions (the test command
#                               runs a short one)
# A crash stops with its input in build/fuzz/crashes and a failing status.
set -eu
cd "$(dirname "$0")/.."
limit="-max_total_time=${1:-60}"
if [ "${1:-}" = "--runs" ]; then limit="-runs=${2:?number of runs}"; fi

[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
nice -n 10 cmake --build --preset fuzz -j "$(nproc)" >/dev/null

status=0
mkdir -p build/fuzz/crashes
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  work="build/fuzz/corpus/$target"
  mkdir -p "$work"
  log="build/fuzz/$target.log"
  if nice -n 19 "build/fuzz/bin/$target" "$limit" -print_final_stats=1 -timeout=10 \
       -artifact_prefix="build/fuzz/crashes/$target-" "$work" "$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    printf '%-22s %12s runs %10s/s\n' "$target" "$runs" "$rate"
  else
    echo "$target: FAILED (see $log)"
    grep -E "^==[0-9]+==ERROR|SUMMARY|Test unit written" "$log" || tail -5 "$log"
    status=1
  fi
done
exit $status
