#include "core/item_names.h"

#include "core/camera_path.h"
#include "core/local_names.h"

namespace {

constexpr size_t kLocalPathMax = 259;  // MAX_PATH without its terminator

// FNV-1a: the same camera path gives the same folder in every run.
uint32_t PathHash(std::string_view path) {
  uint32_t hash = 2166136261u;
  for (const char c : path) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  return hash;
}

}  // namespace

std::optional<std::string> LocalCopyPath(std::string_view workingFolder, std::string_view name) {
  if (!IsUsableEntryName(name)) return std::nullopt;
  std::string path(workingFolder);
  path.append("\\").append(name);
  if (path.size() > kLocalPathMax) return std::nullopt;
  return path;
}

std::optional<std::string> OpenedCopyPath(std::string_view folder, std::string_view cameraPath, std::string_view name) {
  const auto local = SafeLocalName(name);
  if (!local) return std::nullopt;
  static const char kDigits[] = "0123456789ABCDEF";
  std::string own = "O";
  for (int shift = 28; shift >= 0; shift -= 4) own.push_back(kDigits[(PathHash(cameraPath) >> shift) & 0xF]);
  const auto ownFolder = LocalCopyPath(folder, own);
  return ownFolder ? LocalCopyPath(*ownFolder, *local) : std::nullopt;
}

std::optional<std::string> ItemDisplayName(const CameraItem &item, uint32_t flags, std::string_view copiesFolder) {
  const bool parsing = IsParsingRequest(flags);
  const bool inFolder = (flags & kNameInFolder) != 0;
  switch (item.kind) {
    case kDriveItem:
      return std::string(parsing ? item.path : item.name);
    case kFolderItem:
      if (!parsing) return std::string(item.name);
      if (inFolder) return LastComponent(item.path) + "/";
      return std::string(item.path);
    case kFileItem:
      if (parsing) return OpenedCopyPath(copiesFolder, item.path, item.name);
      return std::string(inFolder ? item.name : item.path);
  }
  return std::nullopt;
}
