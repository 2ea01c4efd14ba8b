#include "view/file_types.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace camfolder {

namespace {

DWORD ShellAttributes(const CameraItem &item) {
  return item.kind == kFileItem ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_DIRECTORY;
}

}  // namespace

FileTypes::Key FileTypes::KeyOf(const CameraItem &item, const char *name) {
  // The extension exactly as the shell finds it in this name: a camera path
  // keeps "/" where the shell looks for "\", so its "extension" may differ
  // from the item name's.
  return {item.kind == kFileItem ? 1u : 0u, PathFindExtensionA(name)};
}

const std::string &FileTypes::TypeName(const CameraItem &item) {
  const auto [entry, added] = typeNames_.try_emplace(KeyOf(item, item.name));
  if (added) {
    SHFILEINFOA info{};
    if (SHGetFileInfoA(item.name, ShellAttributes(item), &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME))
      entry->second = info.szTypeName;
  }
  return entry->second;
}

int FileTypes::IconIndex(const CameraItem &item) {
  const auto [entry, added] = iconIndexes_.try_emplace(KeyOf(item, item.path), 0);
  if (added) {
    SHFILEINFOA info{};
    if (SHGetFileInfoA(item.path, ShellAttributes(item), &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX))
      entry->second = info.iIcon;
  }
  return entry->second;
}

}  // namespace camfolder
