// Copying and moving inside the camera: through a local copy in the working
// folder, received and sent again.
#pragma once

#include <windows.h>

#include "camapi.h"

namespace camfolder {

// A camera file into the camera folder `targetFolder`. The answer goes on (1)
// or stops (0) afterwards. The result is 0 (failures were shown on the way),
// 0xFE07 when there is no working folder to copy through.
ZLXRESULT CopyCameraFile(HZLXCAMERA camera, const char *path, const char *targetFolder, HWND owner, DWORD index,
                         DWORD total, int &answer);
// As the copy; the source is erased only after its copy was sent and the
// user did not decline; the erase's result is returned.
ZLXRESULT MoveCameraFile(HZLXCAMERA camera, const char *path, const char *targetFolder, HWND owner, DWORD index,
                         DWORD total, int &answer);

// A camera folder tree into the camera folder `targetPath`.
ZLXRESULT CopyCameraFolder(HZLXCAMERA camera, const char *path, const char *targetPath, HWND owner);
// As the copy; the source tree is erased only when every file of it was
// received and sent.
ZLXRESULT MoveCameraFolder(HZLXCAMERA camera, const char *path, const char *targetPath, HWND owner);

}  // namespace camfolder
