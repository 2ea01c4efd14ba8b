// What the property sheets show of camera drives, folders and files,
// gathered from the camera before a sheet opens. Each record's changed flag
// tells the caller that something was written and its view wants a refresh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/camera_item.h"

// Files, folders and bytes of a folder tree. Kept in 64 bits: the camera
// reports each folder's size in 32 bits, and a tree may hold more.
struct TreeTotals {
  uint64_t size = 0;
  uint64_t files = 0;
  uint64_t folders = 0;
  TreeTotals &operator+=(const TreeTotals &other) {
    size += other.size;
    files += other.files;
    folders += other.folders;
    return *this;
  }
};

struct DrivePageRecord {
  bool changed = false;
  uint32_t drive = 0;
  std::string label;       // "CF (1:)"
  std::string fileSystem;  // the camera reports none: shown empty
  uint32_t capacity = 0;
  uint32_t used = 0;
  uint32_t freeSpace = 0;
};

struct FolderPageRecord {
  bool changed = false;
  std::string path;  // camera path with its "/"
  TreeTotals totals;
  CameraTime time{};
  uint32_t attributes = 0;
};

struct FilePageRecord {
  bool changed = false;
  std::string path;
  uint32_t size = 0;
  CameraTime time{};
  uint32_t attributes = 0;
};

struct MultiItemRecord {
  bool changed = false;
  std::vector<std::string> paths;     // folders with their "/"
  std::vector<uint32_t> attributes;   // one per path
  TreeTotals totals;                  // the items themselves and their trees
};

// The drive's used space. A camera that reports more free space than
// capacity has no used space rather than almost 4 GB of it.
constexpr uint32_t UsedSpace(uint32_t capacity, uint32_t freeSpace) {
  return capacity > freeSpace ? capacity - freeSpace : 0;
}
