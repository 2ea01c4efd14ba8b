#!/bin/bash
# Installs the Debian 12 packages the builds, tests and demo need, when missing.
set -eu
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools wine64 xvfb
          googletest libbenchmark-dev libleptonica-dev pkg-config imagemagick x11-utils file
          clang libclang-rt-14-dev curl
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
