// The question before a camera file of the same name is replaced: the
// camera's file and the new one side by side.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace camfolder {

struct OverwriteFacts {
  std::string name;          // the camera file's name
  uint32_t cameraSize;
  SYSTEMTIME cameraTime;     // local time, as the camera keeps it
  std::string localPath;     // the file to send (its icon and time)
  uint64_t localSize;        // what will be sent
};

// IDYES, IDC_OVERWRITE_ALL (replace this and every later file), IDNO or IDCANCEL.
int AskOverwrite(HWND owner, const OverwriteFacts &facts);

}  // namespace camfolder
