// The "properties" command: the sheet that fits what is selected. The
// camera root shows the connection settings; drives one page each; one
// folder or one file its own page; several files and folders one page for
// them all.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <span>

namespace camfolder {

// The items are the full lists of the selection: the shell's items up to
// the camera junction, then the camera items (none for the camera root).
// Each item's kind and camera path come from its last camera item. The
// information is gathered from the camera before the sheet opens; the
// owner owns the messages and the sheet. When the sheet wrote something
// (attributes or connection settings), the owner is brought to the
// foreground and sent VK_F5 so that its view reads the folder again, and
// changed (when given) is set: the caller has nothing more to refresh.
// S_OK once the sheet is closed; E_FAIL after a camera failure (shown) or
// when the sheet cannot be made; E_INVALIDARG for no items or items of
// another kind; E_OUTOFMEMORY after message 20004.
HRESULT ShowProperties(HWND owner, std::span<const PCIDLIST_ABSOLUTE> items, bool *changed = nullptr);

}  // namespace camfolder
