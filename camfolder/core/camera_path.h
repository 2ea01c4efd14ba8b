// Camera paths and names: "0:/" a drive, "0:/DCIM/100LUMO01/" a folder,
// "0:/DCIM/100LUMO01/LUMO0001.JPG" a file, the empty path the camera root.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum PathKind : int {
  kNoPath = -1,
  kRootPath = 0,
  kDrivePath = 1,
  kFolderPath = 2,
  kFilePath = 3,
};

// The camera does not take paths longer than this.
constexpr size_t kCameraPathMax = 127;

PathKind PathKindOf(const char *path);

// The text after the last "/", a trailing "/" removed first.
std::string LastComponent(std::string_view path);
// The text up to and including the last "/", a trailing "/" removed first
// unless it follows the drive's ":".
std::string ParentPath(std::string_view path);
// folder + name (+ "/" for a folder entry); nullopt when the result would be
// longer than the camera takes.
std::optional<std::string> ChildPath(std::string_view folder, std::string_view name, bool folderEntry);

// Folders the camera keeps pictures in: "d:/DCIM/" followed by three
// characters from "100" to "999" and five from "     " to "zzzzz".
bool IsDcfFolder(const char *path);

// Names a user may give: 7-bit, none of the characters " * / : < > ? \ |;
// folders at most 8 characters, files at most 8 before their first "." and
// at most 4 from it on.
bool IsValidFolderName(std::string_view name);
bool IsValidFileName(std::string_view name);

// A name the camera reported that can address an entry and a local copy:
// not empty, not "." or "..", without "/", "\" or ":".
bool IsUsableEntryName(std::string_view name);

// Camera names are compared without regard to case.
bool SameCameraText(std::string_view a, std::string_view b);
// The text with its ASCII letters in upper case: a key under which names
// equal without regard to case meet.
std::string FoldedCameraText(std::string_view text);

// Whether the path is the item or lies inside it (a folder path ending in "/").
bool IsAtOrBelow(std::string_view path, std::string_view item);
