// A local file made ready to be sent into a camera picture folder.
#pragma once

#include <windows.h>

#include <string>

#include "win_raii.h"

namespace camfolder {

// The bytes to send for the local file: the camera's own pictures and files
// that are no pictures as they are; other pictures (BMP, PNG, TIFF, GIF, JPEG
// without the camera's Exif segment) made anew as camera JPEGs, `name` then
// becoming its base name + ".JPG" and `madeAnew` true. A file that claims to
// be a picture but cannot be made one is reported to the user (20017) and
// gives E_ABORT; E_OUTOFMEMORY and E_UNEXPECTED as for reading a local file.
HRESULT PrepareCameraImage(HWND owner, const char *localPath, std::string &name, unique_hglobal &data, DWORD &size,
                           bool &madeAnew);

}  // namespace camfolder
