// The type names and system icon indexes of the view's items. The shell
// answers both from the extension alone (the file is never read), and each
// answer costs registry lookups, so a fill asks once per distinct extension
// instead of once per item.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "core/camera_item.h"

namespace camfolder {

class FileTypes {
 public:
  // The shell's type name of the item (SHGFI_TYPENAME), "" when it has none.
  const std::string &TypeName(const CameraItem &item);
  // The item's index in the system image lists (SHGFI_SYSICONINDEX), 0 when
  // the shell has none.
  int IconIndex(const CameraItem &item);

 private:
  // An item kind with the extension the shell takes from the name it is given.
  using Key = std::pair<uint32_t, std::string>;
  static Key KeyOf(const CameraItem &item, const char *name);

  std::map<Key, std::string> typeNames_;
  std::map<Key, int> iconIndexes_;
};

}  // namespace camfolder
