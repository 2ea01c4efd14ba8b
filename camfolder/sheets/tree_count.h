// What a camera folder holds through its whole tree.
#pragma once

#include <windows.h>

#include <string>

#include "camapi.h"
#include "sheets/property_records.h"

namespace camfolder {

// The folder's own directory information, and the files, sub-folders and
// bytes below it, each sub-folder counted with its own tree. A camera
// failure is shown with the owner, followed by the connection check, and
// ends the count with E_FAIL.
HRESULT CountFolderTree(HWND owner, HZLXCAMERA camera, const std::string &path, tagZLXDIRINFO &info,
                        TreeTotals &totals);

}  // namespace camfolder
