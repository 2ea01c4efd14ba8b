// The question for a file whose name the camera cannot take: the user types
// an 8.3 name, takes the file's short name, skips the file or cancels.
#pragma once

#include <windows.h>

#include <string>

namespace camfolder {

// IDOK with the name chosen, IDNO to skip the file, IDCANCEL to stop.
int ChooseCameraName(HWND owner, const std::string &localPath, const std::string &cameraFolder, std::string &name);

}  // namespace camfolder
