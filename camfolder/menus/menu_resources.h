// The camera's menu resources as the context menus take them apart before
// merging them into the shell's menus.
#pragma once

#include <windows.h>

#include <optional>

#include "win_raii.h"

namespace camfolder {

// Submenu index of the menu resource, as a menu of its own; null when it
// cannot be loaded.
unique_hmenu LoadSubmenu(UINT menuId, int index);

// Gives the item of the command a submenu (taken over); false when the menu
// has no such item.
bool AttachSubmenu(HMENU menu, UINT command, unique_hmenu submenu);
// The "new" item becomes a submenu holding what menu 106 offers.
bool FillNewSubmenu(HMENU menu);
// Moves the item of the command in front of the other command's item.
bool MoveCommandBefore(HMENU menu, UINT command, UINT before);
// Removes every item but the one of the command (all of them for -1, no
// command).
void KeepOnlyCommand(HMENU menu, UINT command);

// The answer of QueryContextMenu: the identifiers used from the first one
// on, given the highest one used + 1; E_UNEXPECTED for a merge that failed.
HRESULT IdentifiersUsed(std::optional<UINT> next, UINT firstId);

}  // namespace camfolder
