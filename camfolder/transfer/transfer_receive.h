// Camera files and folder trees received into local files and folders.
#pragma once

#include <windows.h>

#include "camapi.h"

namespace camfolder {

// The transfer mode with the link host's progress dialog.
constexpr WORD kTransferWithProgress = 3;

// Receives the camera file or folder tree at the camera path into the local
// path (a file or folder kind path; others E_UNEXPECTED). The camera handle
// is this thread's when none is given. Camera failures are shown with the
// progress record's owner and give E_UNEXPECTED; local file failures E_FAIL.
HRESULT Receive(HZLXCAMERA camera, const char *cameraPath, const char *localPath, WORD mode,
                const tagZLXPROGRESSPARAM &progress);
HRESULT ReceiveFile(HZLXCAMERA camera, const char *cameraPath, const char *localPath, WORD mode,
                    const tagZLXPROGRESSPARAM &progress);
HRESULT ReceiveFolder(HZLXCAMERA camera, const char *cameraFolder, const char *localFolder, WORD mode,
                      const tagZLXPROGRESSPARAM &progress);

}  // namespace camfolder
