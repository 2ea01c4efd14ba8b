// Camera items made from what the camera lists: drives at the camera root,
// folders and files inside a drive or folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/camera_item.h"
#include "zlx_records.h"

// The shell's enumeration flags that choose what a listing holds.
constexpr uint32_t kListFolders = 0x0020;     // SHCONTF_FOLDERS
constexpr uint32_t kListNonFolders = 0x0040;  // SHCONTF_NONFOLDERS

// The directory-list mode for the flags: 2 folders only, 1 files only, 3 both.
uint32_t ListingMode(uint32_t enumerationFlags);

// The camera's broken-down time (months 0-11, years since 1900) as SYSTEMTIME.
CameraTime ToCameraTime(const tagZLXTIME &time);

// "%d:/" of the drive number; nullopt for numbers that make no drive path.
std::optional<std::string_view> DrivePath(uint32_t number, char (&buffer)[8]);

// The item of a present drive; nullopt when its number makes no drive path or
// the label does not fit.
std::optional<CameraItem> DriveItem(uint32_t number, std::string_view label, uint32_t capacity);

// The item of a directory entry in the folder; nullopt for an entry that no
// path can address: an unterminated or unusable name, or a path beyond the
// camera's length limit.
std::optional<CameraItem> FolderEntryItem(std::string_view folderPath, const tagZLXFILEINFO &entry);
