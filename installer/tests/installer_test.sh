#!/bin/bash
# installer_test.sh STATE PACKAGE OLDER VERSION PROBE CAMREG CAMSIM
# In a fresh Wine prefix: installs OLDER, upgrades to PACKAGE (of VERSION),
# checks what was installed (files, version resources, the camera folder's
# keys against what CAMREG writes, App Paths, shortcuts, the Programs and
# Features entry), browses the camera folder from the installed files
# against CAMSIM, starts the programs behind the shortcuts, uninstalls, and
# compares the registry and the files with the state before: only the
# user's data may remain, and it must.
set -u
state=$1 package=$2 older=$3 version=$4 probe=$5 camreg=$6 camsim=$7
rm -rf "$state"
. "$(dirname "$0")/../../scripts/wine-env.sh" "$state"
# Without winemenubuilder: it would copy the shortcuts into this machine's
# own menus, outside the prefix.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
expect_eq() {  # WHAT EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}
expect_line() {  # WHAT LINE TEXT: TEXT holds LINE as a whole line
  grep -qxF -- "$2" <<<"$3" || fail "$1: no line [$2] in: $3"
}

start=$SECONDS
lumo_ensure_prefix || exit 1
echo "fresh prefix made in $((SECONDS - start)) s"
read -r display xvfb_pid <<<"$(lumo_start_xvfb)" || exit 1
export DISPLAY=":$display"
camsim_pid=
cleanup() {
  [ -n "$camsim_pid" ] && kill "$camsim_pid" 2>/dev/null
  "$WINESERVER" -k 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

win() { "$WINE" "$@" 2>/dev/null | tr -d '\r'; }
# Waits until every Windows process has ended: the registry is then on disk.
settle() { "$WINESERVER" -w; }
dos_path() { echo "Z:${1//\//\\}"; }
drive_c="$WINEPREFIX/drive_c"
installed='C:\Program Files\Lumo'
installed_unix="$drive_c/Program Files/Lumo"
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Lumo'

# The registry files without the times of their keys, and without what
# Windows itself keeps or changes: the devices (Wine enumerates the display
# of each session anew), the Windows Installer's empty bookkeeping keys (on
# Windows they exist from the start) and the empty list of approved shell
# extensions (hundreds on Windows; the uninstall removes our two approvals
# and with them the key Wine made empty).
registry_state() {
  sed -e 's/^\(\[.*\]\) [0-9]*$/\1/' -e '/^#time=/d' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" |
    awk -v RS= -v ORS='\n\n' '!/^\[System\\\\/ &&
      !/^\[[^]]*(\\\\Installer\\\\(Features|Products|UpgradeCodes|UserData\\\\S-1-5-18\\\\(Components|Products))|Shell Extensions\\\\Approved)\]$/'
}
# The sections of system.reg whose key matches the pattern.
sections() {
  pattern="$1" awk '/^\[/ { shown = ($0 ~ ENVIRON["pattern"]) } shown && !/^#time=/ { sub(/\] [0-9]+$/, "]"); print }' \
    "$WINEPREFIX/system.reg"
}
# Every file and folder of drive C, but the temporary ones and the Windows
# Installer's own (empty) folder.
file_state() {
  (cd "$drive_c" && find . | grep -v -E '^\./(windows/temp|windows/Installer|users/[^/]+/(AppData/Local/)?Temp)(/|$)' | sort)
}
# The DisplayVersion of every Programs and Features entry of the suite.
listed_versions() {
  sections 'CurrentVersion\\\\Uninstall\\\\' | awk '/^\[/ { name = "" } /^"DisplayName"="Lumo PC suite"$/ { name = 1 }
    /^"DisplayVersion"=/ { version = $0 } /^$/ && name { print version; name = "" }' | sed 's/.*="\(.*\)"/\1/'
}
user_settings() { sed -n '/^\[Software\\\\VEMLO\\\\/,/^$/p' "$WINEPREFIX/user.reg" | grep -v '^#time=' | sed 's/ [0-9]*$//'; }

# The user's data: connection and upload settings, a received picture and
# the upload log.
address=127.25.0.1
win reg add 'HKCU\SOFTWARE\VEMLO\ZLXSDK\Connection' /v Device /d LAN /f >/dev/null
win reg add 'HKCU\SOFTWARE\VEMLO\ZLXSDK\Connection' /v IPAddress /d $address /f >/dev/null
win reg add 'HKCU\Software\VEMLO\uploadd\Configuration' /v ROOTPATH /d 'C:\Lumo pictures' /f >/dev/null
win reg add 'HKCU\Software\VEMLO\uploadd\Configuration' /v LOGFILE /d 'C:\Lumo pictures\upload.log' /f >/dev/null
mkdir -p "$drive_c/Lumo pictures"
echo "a picture" >"$drive_c/Lumo pictures/DSC00001.JPG"
echo "Accepted client connection." >"$drive_c/Lumo pictures/upload.log"
settle
registry_state >"$state/registry-before"
file_state >"$state/files-before"
user_settings >"$state/settings-before"

echo "== install the older package, then upgrade"
start=$SECONDS
expect_eq "older package installs" 0 "$(win msiexec /i "$(dos_path "$older")" /qn; echo "${PIPESTATUS[0]}")"
settle
echo "installed in $((SECONDS - start)) s"
expect_eq "listed after the first install" 0.0.1 "$(listed_versions)"
expect_eq "upgrade installs" 0 "$(win msiexec /i "$(dos_path "$package")" /qn; echo "${PIPESTATUS[0]}")"
settle
expect_eq "one entry after the upgrade" "$version" "$(listed_versions)"
expect_eq "settings kept by the upgrade" "$(cat "$state/settings-before")" "$(user_settings)"
sections 'Classes\\\\Installer\\\\Products\\\\' | grep -q '^"ProductIcon"=' || fail "no icon for Programs and Features"

echo "== installed files and their versions"
mkdir -p "$drive_c/probe"
cp "$probe" "$drive_c/probe/"
probe_exe='C:\probe\installed_suite_probe.exe'
deliverables=(camapi.dll lanport.dll linkhost.exe camfolder.dll vserver.exe uploadd.exe shotlist.dll monoimg.dll camctl.exe)
paths=()
for file in "${deliverables[@]}"; do paths+=("$installed\\$file"); done
versions=$(win "$probe_exe" versions "${paths[@]}")
for path in "${paths[@]}"; do
  expect_line "version resource" "$path: VEMLO|Lumo PC suite|$version.0|$version.0|described" "$versions"
done
[ -f "$installed_unix/Readme.txt" ] || fail "no Readme.txt"

echo "== the camera folder's keys are those camreg writes"
keys='CLSID\\\\\{(5B7C0E21|9E3A6F14)|NameSpace\\\\\{5B7C0E21|App Paths\\\\linkhost\.exe'
approvals() { sections 'Shell Extensions\\\\Approved\]' | grep -E '^"\{(5B7C0E21|9E3A6F14)'; }
from_package=$(sections "$keys"; approvals)
grep -qF '@="C:\\Program Files\\Lumo\\camfolder.dll"' <<<"$from_package" || fail "camfolder not registered: $from_package"
win "$(dos_path "$camreg")" uninstall >/dev/null
win "$(dos_path "$camreg")" install "$installed\\camfolder.dll" >/dev/null
settle
diff <(echo "$from_package") <(sections "$keys"; approvals) || fail "the package's keys differ from camreg's"
expect_eq "camctl's App Path" '@="C:\\Program Files\\Lumo\\camctl.exe"' \
  "$(sections 'App Paths\\\\camctl\.exe' | grep '^@=')"

echo "== the camera folder from the installed files, against camsim"
"$camsim" --address $address --ready-file "$state/camsim.ready" --idle-exit 60 --max-lifetime 300 \
  2>"$state/camsim.log" &
camsim_pid=$!
for ((i = 0; i < 100; i++)); do [ -f "$state/camsim.ready" ] && break; sleep 0.1; done
walk=$(win "$probe_exe" walk)
echo "$walk"
expect_line "camera folder served by" "camfolder: $installed\\camfolder.dll" "$walk"
expect_line "camera API loaded from" "camapi: $installed\\camapi.dll" "$walk"
expect_line "link host started by its bare name" "link host: $installed\\linkhost.exe" "$walk"
grep -q '^item: MEMO' <<<"$walk" || fail "the sample card's pictures folder was not listed"
kill "$camsim_pid"
wait "$camsim_pid" 2>/dev/null
camsim_pid=
settle

echo "== the programs behind the Start menu shortcuts"
for shortcut in "Lumo virtual server:vserver.exe" "Lumo direct upload:uploadd.exe"; do
  link="$menu\\${shortcut%%:*}.lnk"
  target=$(win "$probe_exe" shortcut "$link")
  expect_line "$link" "target: $installed\\${shortcut##*:}" "$target"
  grep -q '^icon: .' <<<"$target" || fail "$link has no icon"
  started=$(win "$probe_exe" start "$installed\\${shortcut##*:}")
  echo "${shortcut##*:}: $started"
  grep -q '^window: [^(]' <<<"$started" || fail "${shortcut##*:} showed no window"
done
settle

echo "== uninstall"
start=$SECONDS
expect_eq "uninstall" 0 "$(win msiexec /x "$(dos_path "$package")" /qn; echo "${PIPESTATUS[0]}")"
settle
echo "uninstalled in $((SECONDS - start)) s"
rm -rf "$drive_c/probe"
registry_state >"$state/registry-after"
file_state >"$state/files-after"
diff "$state/files-before" "$state/files-after" || fail "files left or lost by the uninstall"
diff "$state/registry-before" "$state/registry-after" || fail "registry left or lost by the uninstall"
expect_eq "settings kept" "$(cat "$state/settings-before")" "$(user_settings)"
[ -f "$drive_c/Lumo pictures/DSC00001.JPG" ] || fail "the received picture is gone"

[ $failures -eq 0 ] && echo "installer test passed" || echo "$failures failures"
exit $((failures > 0))
