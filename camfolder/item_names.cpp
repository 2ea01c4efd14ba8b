#include "item_names.h"

#include "camera_path.h"

namespace {

constexpr size_t kLocalPathMax = 259;  // MAX_PATH without its terminator

}  // namespace

std::optional<std::string> LocalCopyPath(std::string_view workingFolder, std::string_view name) {
  if (!IsUsableEntryName(name)) return std::nullopt;
  std::string path(workingFolder);
  path.append("\\").append(name);
  if (path.size() > kLocalPathMax) return std::nullopt;
  return path;
}

std::optional<std::string> ItemDisplayName(const CameraItem &item, uint32_t flags, std::string_view workingFolder) {
  const bool parsing = (flags & kNameForParsing) != 0;
  const bool inFolder = (flags & kNameInFolder) != 0;
  switch (item.kind) {
    case kDriveItem:
      return std::string(parsing ? item.path : item.name);
    case kFolderItem:
      if (!parsing) return std::string(item.name);
      if (inFolder) return LastComponent(item.path) + "/";
      return std::string(item.path);
    case kFileItem:
      if (parsing) return LocalCopyPath(workingFolder, item.name);
      return std::string(inFolder ? item.name : item.path);
  }
  return std::nullopt;
}
