// Writing the attribute bits of a camera folder or file.
#pragma once

#include <windows.h>

#include "camapi.h"

namespace camfolder {

// A folder path ("/" at the end) uses the folder call, a file path the file
// call; other kinds E_INVALIDARG. The camera handle is this thread's when
// none is given. A failure is shown and gives E_FAIL.
HRESULT SetAttributes(HZLXCAMERA camera, const char *path, DWORD attributes);

}  // namespace camfolder
