#!/bin/bash
# Runs the README examples that need neither Wine nor a display, as the
# READMEs write them, and fails when one fails. Servers get --max-lifetime 1
# so that they end by themselves: exit 0 then means they started and listened.
# The Wine examples are run by the win64 tests.
set -u
cd "$(dirname "$0")/.."
export PATH=$PWD/build/native/bin:$PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

run() {
  if timeout 120 "$@" >"$work/out" 2>&1; then
    echo "ok: $*"
  else
    echo "FAILED (exit $?): $*"
    sed 's/^/    /' "$work/out"
    status=1
  fi
}

# tools/camsim/README.md
run camsim --help
run camsim upload --help
run camsim --max-lifetime 1
run camsim -v --address 127.0.0.5 --max-lifetime 1
mkdir -p "$work/cam0" "$work/cf"
run camsim --drive 0="$work/cam0" --drive 1="$work/cf" --free 1=1000000 --max-lifetime 1
run camsim --max-packet 1049 --fault interim=2@80010100 --fault slow=200 --max-lifetime 1
run camsim --random-faults 42:0.1 --random-faults-off-while "$work/faults-off" --max-lifetime 1

# tools/camsim/serial/README.md and vserver/README.md
run camsim serial --help
run camsim serve --control-port 16220 --data-port 16221 --max-lifetime 1
run camsim serial --listen 127.0.0.1:7000 --camera 127.0.0.1 --control-port 16220 --data-port 16221 -v --max-lifetime 1
run camsim serial --listen 127.0.0.1:7000 --control-port 16220 --data-port 16221 --speed 19200 --plain --fault crc=3 --max-lifetime 1

# README.md and monoimg/README.md: the benchmark's build line
run bash -c 'cmake --preset native-release && cmake --build --preset native-release --target monoimg_bench'
run test -x build/native-release/bin/monoimg_bench

exit $status
