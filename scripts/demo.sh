#!/bin/bash
# The main job: installs what is missing, builds the Windows programs, starts
# the simulated camera with its sample card and shows it through camctl under
# Wine: drives, a recursive listing, a picture and a thumbnail fetched, a file
# sent. Everything it starts is stopped again at the end.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
bash scripts/build.sh win64

bin="$root/build/win64/bin"
camsim="$root/build/win64/host/bin/camsim"
state="$root/build/win64/demo-wine"
run="$root/build/demo"
address=127.0.0.1
rm -rf "$run" && mkdir -p "$run/fetched"

cleanup() {
  [ -f "$run/camsim.pid" ] && kill "$(cat "$run/camsim.pid")" 2>/dev/null
  bash scripts/wine-session stop "$state" >/dev/null
}
trap cleanup EXIT

bash scripts/wine-session start "$state" >/dev/null
"$camsim" --address "$address" --pid-file "$run/camsim.pid" --ready-file "$run/camsim.ready" \
  --capacity 0=16777216 --free 0=9437184 --capacity 1=268435456 --free 1=201326592 \
  --max-lifetime 600 2>"$run/camsim.log" &
for _ in $(seq 100); do [ -f "$run/camsim.ready" ] && break; sleep 0.1; done
[ -f "$run/camsim.ready" ] || { echo "camsim did not start:"; cat "$run/camsim.log"; exit 1; }

camctl() {
  echo
  echo "\$ camctl $*"
  (cd "$run" && "$root/scripts/wine-run" "$state" "$bin/camctl.exe" --address "$address" "$@")
}

printf 'Sent from the PC by the Lumo demo.\r\n' >"$run/HELLO.TXT"
camctl info
camctl drives
camctl ls -R 0:/DCIM/
camctl get 0:/DCIM/100LUMO01/LUMO0001.JPG fetched
camctl thumb 0:/DCIM/100LUMO01/LUMO0001.JPG fetched/LUMO0001_thumb.jpg
camctl put HELLO.TXT 0:/DCIM/100LUMO01/
camctl ls 0:/DCIM/100LUMO01/

echo
echo "Fetched into $run/fetched:"
ls -l "$run/fetched"
