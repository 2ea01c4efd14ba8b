// What a camera folder holds, read from the camera: the drives at the
// camera root, the entries of a drive or folder elsewhere.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "camapi.h"
#include "core/camera_item.h"

namespace camfolder {

// The items of the folder with this camera path ("" for the camera root);
// the enumeration flags choose folders, files or both. Camera failures are
// shown and give E_UNEXPECTED.
HRESULT LoadFolderContents(const std::string &path, DWORD enumerationFlags, std::vector<CameraItem> &items);

// The directory entries of a camera folder as the camera lists them, checked
// against the block that holds them.
HRESULT ListDirectory(HZLXCAMERA camera, const char *path, DWORD mode, std::vector<tagZLXFILEINFO> &entries);

}  // namespace camfolder
