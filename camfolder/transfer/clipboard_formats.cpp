#include "transfer/clipboard_formats.h"

namespace camfolder {

namespace {

CLIPFORMAT Register(const char *name) { return static_cast<CLIPFORMAT>(RegisterClipboardFormatA(name)); }

}  // namespace

const ClipboardFormats &Formats() {
  static const ClipboardFormats formats{Register("LumoFilePath"), Register("InShellDragLoop"),
                                        Register("Preferred DropEffect"), Register("Performed DropEffect"),
                                        Register("Shell IDList Array")};
  return formats;
}

}  // namespace camfolder
