#!/bin/bash
# Exits 0 when the 32-bit Wine loader runs here (natively or emulated);
# otherwise prints in one line why the 32-bit stage cannot run.
loader=/usr/lib/wine/wine
if [ ! -x "$loader" ]; then
  echo "Debian's wine32 package is not installed (scripts/install-deps.sh installs it)"
  exit 1
fi
if "$loader" --version >/dev/null 2>&1; then exit 0; fi
if [ ! -x /usr/bin/qemu-i386 ]; then
  echo "this machine cannot run 32-bit programs and qemu-user-binfmt is not installed"
elif [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  echo "this machine cannot run 32-bit programs and the i386 emulator could not be registered (needs root and binfmt_misc)"
elif ! grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
  echo "this machine cannot run 32-bit programs and the i386 emulator's handler is disabled"
else
  echo "the 32-bit wine loader does not start, even with the i386 emulator registered"
fi
exit 1
