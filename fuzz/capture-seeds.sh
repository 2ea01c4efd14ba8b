#!/bin/bash
# Remakes the seed corpora in fuzz/corpus from real traffic: runs Windows
# tests of the win64 build with the native camera simulator and upload client
# traced by strace (every byte they receive and send, and every file they
# write), runs the native shot list tests the same way, and cuts what was
# seen into seeds of each fuzz target (fuzz/make_seeds.py). Takes about ten
# minutes; the result is committed, so CI never runs this.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
traces=$(mktemp -d /tmp/lumo-seed-traces.XXXXXX)
echo "traces in $traces"
camsim="$root/build/win64/host/bin/camsim"
upload="$root/build/win64/host-upload/bin/camsim_upload_cli"
trace_calls="trace=recvfrom,sendto,read,write,writev,openat,close"

wrap() {  # replaces a native tool by a script that runs it under strace
  local name
  name=$(basename "$1")
  mv "$1" "$1.real"
  cat >"$1" <<WRAP
#!/bin/sh
exec strace -f -qq -e $trace_calls -xx -s 1048576 -y -o "$traces/$name.\$\$" "$1.real" "\$@"
WRAP
  chmod +x "$1"
}
unwrap() { [ -f "$1.real" ] && mv "$1.real" "$1"; }
trap 'unwrap "$camsim"; unwrap "$upload"' EXIT
wrap "$camsim"
wrap "$upload"

run() {  # a Windows test program of the build, with a gtest filter
  (cd build/win64/bin && "$root/scripts/wine-run" ../wine "./$1" --gtest_filter="$2" >/dev/null 2>&1) || true
}
bash scripts/wine-session start build/win64/wine >/dev/null
run camera_link_test.exe '*'
run zltp_connection_test.exe '*'
run camapi_camera_test.exe '*'
run linkhost_transfer_test.exe '-*Movie*:*Huge*:*Rewritten*:*Absurd*:*PacketSizeWithout*'
run vserver_test.exe '*Probe*:*Ackflow*:*Repeated*:*LostAcknowledgement*:*Plain*'
run vserver_zltp_test.exe '*'
run uploadd_test.exe '*Camsim*'
bash scripts/wine-session stop build/win64/wine >/dev/null
unwrap "$camsim"
unwrap "$upload"

# Shot list files as the library writes and reads them.
strace -f -qq -e "$trace_calls" -xx -s 1048576 -y -o "$traces/shotlist.$$" \
  build/native/bin/shotlist_format_test >/dev/null 2>&1 || true

python3 fuzz/make_seeds.py "$traces" fuzz/corpus
[ -n "${KEEP_TRACES:-}" ] || rm -rf "$traces"
