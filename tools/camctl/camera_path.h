// Camera paths: "0:/DCIM/100LUMO01/LUMO0001.JPG", folders ending in "/".
#pragma once

#include <string>

constexpr int kDriveCount = 3;

// Checks a path typed by the user and brings it into the camera's form:
// backslashes become slashes and a bare drive ("1:") becomes its root.
// Returns false with a message in error.
bool NormalizeCameraPath(const std::string &text, std::string &path, std::string &error);

bool IsDriveRoot(const std::string &path);
bool IsFolderPath(const std::string &path);  // ends in "/"
int DriveOf(const std::string &path);
// The path with a "/" at the end.
std::string AsFolderPath(const std::string &path);
// The path without its closing "/" (a drive root keeps it).
std::string WithoutClosingSlash(const std::string &path);
// The folder holding the item ("0:/DCIM/" for "0:/DCIM/A.JPG" and for
// "0:/DCIM/100LUMO01/"); a drive root is its own parent.
std::string ParentFolder(const std::string &path);
// The last name of the path without "/" ("" for a drive root).
std::string LastName(const std::string &path);
// folder + name, with the "/" between them added when missing.
std::string JoinCameraPath(const std::string &folder, const std::string &name);
bool HasWildcard(const std::string &path);
// Case-insensitive comparison of camera names (the camera's file system
// does not distinguish case).
bool SameCameraName(const std::string &a, const std::string &b);
