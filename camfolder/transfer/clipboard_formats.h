// The clipboard formats of camera data objects, registered once per process.
#pragma once

#include <windows.h>
#include <objidl.h>

namespace camfolder {

struct ClipboardFormats {
  CLIPFORMAT cameraPaths;      // "LumoFilePath": a DROPFILES block of camera paths
  CLIPFORMAT dragLoop;         // "InShellDragLoop"
  CLIPFORMAT preferredEffect;  // "Preferred DropEffect"
  CLIPFORMAT performedEffect;  // "Performed DropEffect"
  CLIPFORMAT idListArray;      // "Shell IDList Array"
};

const ClipboardFormats &Formats();

}  // namespace camfolder
