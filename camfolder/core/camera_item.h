// The record behind every camera item identifier. The shell keeps these
// records in shortcuts and saved view states, so the layout is a stored
// format: 556 bytes, little-endian, fixed offsets on every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum ItemKind : uint32_t {
  kDriveItem = 1,
  kFolderItem = 2,
  kFileItem = 3,
};

// The Win32 SYSTEMTIME, field for field.
struct CameraTime {
  uint16_t year;
  uint16_t month;
  uint16_t dayOfWeek;
  uint16_t day;
  uint16_t hour;
  uint16_t minute;
  uint16_t second;
  uint16_t milliseconds;
};

constexpr size_t kItemTextField = 260;

struct CameraItem {
  uint16_t cb;            // always kCameraItemSize
  uint16_t version;       // always kCameraItemVersion
  uint32_t size;          // file size, drive capacity, or the folder entry's size field
  uint32_t kind;          // ItemKind
  CameraTime time;        // modification time; all zero for drives
  uint32_t attributes;    // the camera's attribute bits; drives carry 0x10
  uint32_t transferFlag;  // 1 on the copies handed out for a selection
  char name[kItemTextField];  // display name: entry name or drive label
  char path[kItemTextField];  // camera path
};

constexpr uint16_t kCameraItemSize = 556;
constexpr uint16_t kCameraItemVersion = 256;

static_assert(sizeof(CameraTime) == 16);
static_assert(sizeof(CameraItem) == kCameraItemSize);
static_assert(offsetof(CameraItem, cb) == 0);
static_assert(offsetof(CameraItem, version) == 2);
static_assert(offsetof(CameraItem, size) == 4);
static_assert(offsetof(CameraItem, kind) == 8);
static_assert(offsetof(CameraItem, time) == 12);
static_assert(offsetof(CameraItem, attributes) == 28);
static_assert(offsetof(CameraItem, transferFlag) == 32);
static_assert(offsetof(CameraItem, name) == 36);
static_assert(offsetof(CameraItem, path) == 296);

// A new item; nullopt when the name or path does not fit its field.
std::optional<CameraItem> MakeCameraItem(ItemKind kind, std::string_view name, std::string_view path, uint32_t size,
                                         const CameraTime &time, uint32_t attributes);

// The camera item at the start of the bytes, when they hold one: exactly
// kCameraItemSize long, any version, a known kind, and name and path
// terminated inside their fields. Items come from the shell, shortcuts and
// saved view states, so nothing here reads past the bytes given.
std::optional<CameraItem> ReadCameraItem(std::span<const uint8_t> bytes);
