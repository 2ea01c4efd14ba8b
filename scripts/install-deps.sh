#!/bin/bash
# Installs the Debian 12 packages the builds, tests and demo need, when missing.
set -eu
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools wine64 xvfb
          googletest libbenchmark-dev libleptonica-dev pkg-config imagemagick x11-utils file
          clang libclang-rt-14-dev curl wixl msitools
          fonts-ipafont-gothic)  # a Japanese face: without it Wine draws the Japanese texts as boxes
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The 32-bit stage: Debian's wine32 (i386 architecture) and, where this
# machine cannot run 32-bit code itself, qemu's user-mode emulator registered
# for i386 programs. Nothing here fails the run: scripts/wine32-ready.sh says
# why the stage cannot run, and the test command skips it with that line.
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
wine32_loader=/usr/lib/wine/wine

# An index apt could not fetch ("Mirror sync in progress") is taken from the
# mirror's plain path when it matches the hash in the signed release file.
lumo_fetch_missing_i386_index() {
  local lists=/var/lib/apt/lists release list sum url
  for release in "$lists"/*_dists_*_InRelease; do
    [ -f "$release" ] || continue
    list="${release%_InRelease}_main_binary-i386_Packages"
    [ -f "$list" ] && continue
    sum=$(awk '/^SHA256:/{s=1;next} /^[A-Za-z]/{s=0} s && $3 == "main/binary-i386/Packages.xz" {print $1; exit}' "$release")
    [ -n "$sum" ] || continue
    url="http://$(basename "${release%_InRelease}" | sed 's|_|/|g')/main/binary-i386/Packages.xz"
    curl -fsS -o /tmp/lumo-i386-index.xz "$url" || continue
    if echo "$sum  /tmp/lumo-i386-index.xz" | sha256sum -c --status; then
      xz -dc /tmp/lumo-i386-index.xz | $sudo_cmd tee "$list" >/dev/null
    fi
    rm -f /tmp/lumo-i386-index.xz
  done
}

if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo "Installing: wine32:i386"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo_cmd dpkg --add-architecture i386
  $sudo_cmd apt-get update -qq || lumo_fetch_missing_i386_index
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends wine32:i386 ||
    echo "wine32 could not be installed: the 32-bit stage will be skipped"
fi

if [ -x "$wine32_loader" ] && ! "$wine32_loader" --version >/dev/null 2>&1; then
  # The loader is there but this machine cannot execute it: emulate.
  if ! dpkg-query -W -f='${Status}' qemu-user-binfmt 2>/dev/null | grep -q "install ok installed"; then
    echo "Installing: qemu-user-binfmt"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends qemu-user-binfmt || true
  fi
  # Debian registers no i386 handler on an amd64 host: register one.
  binfmt=/proc/sys/fs/binfmt_misc
  if [ -x /usr/bin/qemu-i386 ] && [ ! -e $binfmt/qemu-i386 ]; then
    [ -e $binfmt/register ] || $sudo_cmd mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null || true
    printf '%s' ':qemu-i386:M::\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' |
      $sudo_cmd tee $binfmt/register >/dev/null 2>&1 || true
  fi
fi
