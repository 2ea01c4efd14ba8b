// Copying and moving inside the camera. Every file goes through a local copy
// of its own in the working folder and is sent again byte for byte under its
// camera name. A move erases its source only after a fresh look at the
// target shows everything the source held (as listed before the copy) with
// the same sizes, and the source still holds just that.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "camapi.h"
#include "transfer/transfer_send.h"

namespace camfolder {

// A camera file or folder tree (by its path) into the camera folder
// `targetFolder` (ending in "/"); with move, its source is erased once the
// copy is verified. S_OK when done; S_FALSE when the user declined or
// skipped something (a move then keeps its source); failures are shown and
// give E_UNEXPECTED, and a move whose copy could not be verified adds its
// source to `notMoved` for the caller to tell. The choices are the drop's.
HRESULT CopyCameraItem(HZLXCAMERA camera, const std::string &source, const std::string &targetFolder, bool move,
                       HWND owner, DWORD index, DWORD total, SendChoices &choices,
                       std::vector<std::string> &notMoved);

}  // namespace camfolder
