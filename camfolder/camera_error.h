// The message boxes of camera results.
#pragma once

#include <windows.h>

#include <cstdint>

namespace camfolder {

// Shows the message of a camera result or message number (20000-29999) with
// the owner window. Returns the message number shown, 0 or 20007 for results
// that show nothing, and -1 when the text cannot be loaded.
int ShowCameraError(HWND owner, uint32_t result);

}  // namespace camfolder
