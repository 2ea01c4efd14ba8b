// Which shell browser hosts the camera folder's view in a window: commands
// invoked from a view browse there instead of starting a new window.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "win_raii.h"

namespace camfolder {

// A view announces the browser of its parent window while it is shown.
void AddHostingBrowser(HWND window, IShellBrowser *browser);
void RemoveHostingBrowser(HWND window);

// The browser hosting a view in the window or one of its ancestors; none
// when no view of ours is shown there.
ComPtr<IShellBrowser> HostingBrowser(HWND window);

}  // namespace camfolder
