// The message boxes of camera results.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace camfolder {

// Shows the message of a camera result or message number (20000-29999) with
// the owner window. Returns the message number shown, 0 or 20007 for results
// that show nothing, and -1 when the text cannot be loaded.
int ShowCameraError(HWND owner, uint32_t result);

// Shows message number `message` with its "%s" replaced by the text (a list
// of names, one per line, at most ten of them followed by "..."), in a box of
// the given buttons with the warning icon. Returns the button chosen, 0 when
// the text cannot be loaded.
int ShowCameraMessage(HWND owner, int message, const std::vector<std::string> &names, UINT buttons = MB_OK);

}  // namespace camfolder
