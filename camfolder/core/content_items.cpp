#include "core/content_items.h"

#include <cstdio>
#include <cstring>

#include "core/camera_path.h"

uint32_t ListingMode(uint32_t enumerationFlags) {
  const bool folders = (enumerationFlags & kListFolders) != 0;
  const bool nonFolders = (enumerationFlags & kListNonFolders) != 0;
  if (folders && !nonFolders) return 2;
  if (nonFolders && !folders) return 1;
  return 3;
}

CameraTime ToCameraTime(const tagZLXTIME &time) {
  // In 64 bits: a camera's fields may hold any 32-bit value.
  CameraTime result{};
  result.year = static_cast<uint16_t>(int64_t{time.year} + 1900);
  result.month = static_cast<uint16_t>(int64_t{time.mon} + 1);
  result.dayOfWeek = static_cast<uint16_t>(time.wday);
  result.day = static_cast<uint16_t>(time.mday);
  result.hour = static_cast<uint16_t>(time.hour);
  result.minute = static_cast<uint16_t>(time.min);
  result.second = static_cast<uint16_t>(time.sec);
  return result;
}

std::optional<std::string_view> DrivePath(uint32_t number, char (&buffer)[8]) {
  if (number > 9) return std::nullopt;
  std::snprintf(buffer, sizeof buffer, "%u:/", number);
  return std::string_view(buffer);
}

std::optional<CameraItem> DriveItem(uint32_t number, std::string_view label, uint32_t capacity) {
  char buffer[8];
  const auto path = DrivePath(number, buffer);
  if (!path) return std::nullopt;
  return MakeCameraItem(kDriveItem, label, *path, capacity, CameraTime{}, 0x10);
}

std::optional<CameraItem> FolderEntryItem(std::string_view folderPath, const tagZLXFILEINFO &entry) {
  const void *end = std::memchr(entry.name, 0, sizeof entry.name);
  if (!end) return std::nullopt;
  const std::string_view name(entry.name, static_cast<size_t>(static_cast<const char *>(end) - entry.name));
  if (!IsUsableEntryName(name)) return std::nullopt;
  const bool folder = (entry.attributes & ZLX_ATTR_DIRECTORY) != 0;
  const auto path = ChildPath(folderPath, name, folder);
  if (!path) return std::nullopt;
  return MakeCameraItem(folder ? kFolderItem : kFileItem, name, *path, entry.size, ToCameraTime(entry.time),
                        entry.attributes);
}
