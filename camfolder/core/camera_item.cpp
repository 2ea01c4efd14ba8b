#include "core/camera_item.h"

#include <cstring>

namespace {

bool Terminated(const char (&field)[kItemTextField]) { return std::memchr(field, 0, kItemTextField) != nullptr; }

bool CopyText(char (&field)[kItemTextField], std::string_view text) {
  if (text.size() >= kItemTextField || text.find('\0') != std::string_view::npos) return false;
  std::memcpy(field, text.data(), text.size());
  return true;
}

}  // namespace

std::optional<CameraItem> MakeCameraItem(ItemKind kind, std::string_view name, std::string_view path, uint32_t size,
                                         const CameraTime &time, uint32_t attributes) {
  CameraItem item{};
  item.cb = kCameraItemSize;
  item.version = kCameraItemVersion;
  item.size = size;
  item.kind = kind;
  item.time = time;
  item.attributes = attributes;
  if (!CopyText(item.name, name) || !CopyText(item.path, path)) return std::nullopt;
  return item;
}

std::optional<CameraItem> ReadCameraItem(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2) return std::nullopt;
  uint16_t cb;
  std::memcpy(&cb, bytes.data(), sizeof cb);
  if (cb != kCameraItemSize || bytes.size() < kCameraItemSize) return std::nullopt;
  // Copied out: items inside identifier lists are not aligned.
  CameraItem item;
  std::memcpy(&item, bytes.data(), sizeof item);
  if (item.kind < kDriveItem || item.kind > kFileItem) return std::nullopt;
  if (!Terminated(item.name) || !Terminated(item.path)) return std::nullopt;
  return item;
}
