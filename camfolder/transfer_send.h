// Local files and folder trees sent into camera folders.
#pragma once

#include <windows.h>

#include "camapi.h"

namespace camfolder {

// Sends the local file into the camera folder (a path ending in "/"). The
// answer is set on entry (go on becomes yes, anything else cancel) and then
// holds the user's last answer. Names the camera cannot take are asked for;
// files sent into picture folders are made camera pictures first; a camera
// file of the same name is replaced only when the user says so. S_OK when
// sent or when the user declined to replace, S_FALSE when the file was
// skipped or the name question cancelled; camera failures are shown and give
// E_UNEXPECTED. With move, the local file is deleted after it was sent.
HRESULT SendFile(HZLXCAMERA camera, const char *localPath, const char *cameraFolder, WORD mode,
                 const tagZLXPROGRESSPARAM &progress, bool move, int &answer);

// Creates the camera folder `cameraTarget` (ending in "/") and sends the local
// folder's files and sub-folders into it. S_OK only when every file was sent;
// S_FALSE when the user skipped or declined one, or stopped; failures are
// returned.
HRESULT SendFolder(HZLXCAMERA camera, const char *localFolder, const char *cameraTarget, WORD mode,
                   const tagZLXPROGRESSPARAM &progress);

}  // namespace camfolder
