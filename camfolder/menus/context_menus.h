// The menus the folder view builds: the folder's own menu (nothing
// selected), the combined menu of a selection inside the folder (for the
// browser's File menu), and the menu of the list's background. The
// selection's own menu comes from the folder's GetUIObjectOf. The folder
// list is the folder's absolute list; items are one-item lists of the
// folder.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "view/view_commands.h"

namespace camfolder {

HRESULT CreateFolderMenu(IShellFolder *folder, PCIDLIST_ABSOLUTE folderList, REFIID interfaceId, void **object);
// E_INVALIDARG without items.
HRESULT CreateCombinedMenu(IShellFolder *folder, PCIDLIST_ABSOLUTE folderList, UINT count, PCUITEMID_CHILD_ARRAY items,
                           REFIID interfaceId, void **object);
// The background menu acts on the view, which must outlive it.
HRESULT CreateBackgroundMenu(PCIDLIST_ABSOLUTE folderList, ViewCommands &view, REFIID interfaceId, void **object);

}  // namespace camfolder
