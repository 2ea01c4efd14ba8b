// What the commands of the camera's menus do. The owner window owns every
// message and dialog; every camera failure is shown and followed by the
// connection check, so that the next operation reconnects when the camera
// is gone. A command that changed what the folder holds refreshes the
// owner's view (foreground, VK_F5).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/camera_item.h"

namespace camfolder {

// A full item list: the shell's items up to the camera junction, then camera
// items (none for the camera root).
using FullList = std::vector<uint8_t>;

// Drives and folders are browsed to: in the browser that hosts the owner
// when there is one, else in a window of the shell's; files are received
// into the working folder and opened there with their program.
HRESULT OpenObjects(HWND owner, const std::vector<FullList> &objects);
// Opens each object in the shell's explorer.
HRESULT ExploreObjects(HWND owner, const std::vector<FullList> &objects);
// The sheet that fits the objects.
HRESULT ShowObjectProperties(HWND owner, const std::vector<FullList> &objects);

// A folder named NEW00001 (the lowest free number) in the drive or folder.
HRESULT NewFolder(HWND owner, const std::string &folderPath);
// Formats the drive after the user agreed; drive 0 cannot be formatted.
HRESULT FormatDrive(HWND owner, const CameraItem &drive);
// Erases the items after the user agreed, asking about entries the camera
// protects; S_FALSE when the user declined.
HRESULT DeleteItems(HWND owner, const std::vector<CameraItem> &items);
// The F2 key, which makes the view edit the focused item's name.
HRESULT StartRename();

// The camera's configuration into a ".bak" file, and back from one.
HRESULT SaveConfiguration(HWND owner);
HRESULT RestoreConfiguration(HWND owner);

// Makes the owner's view read its folder again.
void RefreshOwner(HWND owner);

}  // namespace camfolder
