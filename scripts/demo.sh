#!/bin/bash
# The main job: installs what is missing, builds every deliverable for the
# three targets and lists what was built.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh native win64 win32
for preset in win64 win32; do
  echo "== $preset deliverables"
  for f in camapi.dll lanport.dll linkhost.exe camfolder.dll vserver.exe uploadd.exe shotlist.dll monoimg.dll; do
    if [ -f "build/$preset/bin/$f" ]; then
      printf '  %-14s %s\n' "$f" "$(file -b "build/$preset/bin/$f" | cut -d, -f1)"
    fi
  done
done
echo "== native tools and libraries"
ls build/native/bin | grep -v _test | sed 's/^/  /'
