#!/bin/bash
# The main job: installs what is missing, builds the Windows programs, starts
# the simulated camera with its sample card and shows it through camctl under
# Wine: drives, a recursive listing, a picture and a thumbnail fetched, a file
# sent. Then the camera as a folder of the shell, in Wine's explorer: on the
# user's display when DISPLAY is set (until its window is closed), otherwise
# on a private display, saved as build/demo/explorer.png. Everything it
# starts is stopped again at the end. Wine runs as a Japanese system, the
# camera folder's language.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
bash scripts/build.sh win64

bin="$root/build/win64/bin"
camsim="$root/build/win64/host/bin/camsim"
state="$root/build/win64/demo-wine"
# The demo may show on the user's desktop: its windows keep the window
# manager's frames.
export LUMO_WINE_MANAGED=1
run="$root/build/demo"
address=127.0.0.1
rm -rf "$run" && mkdir -p "$run/fetched"

# Japanese for Wine only. The machine needs no such C library locale; the
# scripts started with it would warn that they cannot set it up.
japanese=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
exec 2> >(grep --line-buffered -v 'warning: setlocale: LC_ALL: cannot change locale' >&2)
wine() { "${japanese[@]}" "$root/scripts/wine-run" "$state" "$@"; }

cleanup() {
  [ -f "$run/camsim.pid" ] && kill "$(cat "$run/camsim.pid")" 2>/dev/null
  wine "$bin/camreg.exe" uninstall >/dev/null 2>&1
  bash scripts/wine-session stop "$state" >/dev/null
}
trap cleanup EXIT

"${japanese[@]}" bash scripts/wine-session start "$state" >/dev/null
"$camsim" --address "$address" --pid-file "$run/camsim.pid" --ready-file "$run/camsim.ready" \
  --capacity 0=16777216 --free 0=9437184 --capacity 1=268435456 --free 1=201326592 \
  --max-lifetime 600 2>"$run/camsim.log" &
for _ in $(seq 100); do [ -f "$run/camsim.ready" ] && break; sleep 0.1; done
[ -f "$run/camsim.ready" ] || { echo "camsim did not start:"; cat "$run/camsim.log"; exit 1; }

camctl() {
  echo
  echo "\$ camctl $*"
  (cd "$run" && wine "$bin/camctl.exe" --address "$address" "$@")
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

# The camera as a folder of the shell: registered with camreg, and opened in
# Wine's explorer through a folder whose desktop.ini names the camera folder.
echo
echo "\$ camreg install"
wine "$bin/camreg.exe" install
wine "$bin/camctl.exe" settings LAN "$address" >/dev/null
junction="$state/prefix/drive_c/Lumo"
mkdir -p "$junction"
printf '[.ShellClassInfo]\r\nCLSID={5B7C0E21-4A93-4D6B-8F12-3C9A7E4D2B60}\r\n' >"$junction/desktop.ini"
if [ -n "${DISPLAY:-}" ]; then
  echo "The camera folder is open in Wine's explorer on $DISPLAY; close its window to end the demo."
  (. scripts/wine-env.sh "$state" && "${japanese[@]}" "$WINE64" explorer.exe 'C:\Lumo' >/dev/null 2>&1)
else
  read -r display _ <"$state/session"
  # No window manager on the private display: Wine draws the captions itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wine explorer.exe 'C:\Lumo' >/dev/null 2>&1 &
  explorer=$!
  for _ in $(seq 60); do
    xwininfo -display ":$display" -root -tree 2>/dev/null | grep -q '"Lumo"' && break
    sleep 0.5
  done
  sleep 5  # the camera's drives are read and listed
  import -display ":$display" -window root "$run/explorer.png"
  kill "$explorer" 2>/dev/null
  wait "$explorer" 2>/dev/null || true
  echo "Wine's explorer showed the camera folder: $run/explorer.png"
fi
