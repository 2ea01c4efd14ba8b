// Merging a menu into a host menu: the context menus put their resource
// menus into the shell's menus, and the view puts its own into the
// browser's, each item under the host's identifier for its command.
#pragma once

#include <windows.h>

#include <optional>

namespace camfolder {

// Option bits of MergeMenu.
constexpr UINT kMergeWithSeparators = 0x1;   // frame the block with separators
constexpr UINT kMergeSubmenuIds = 0x2;       // popups get offset identifiers of their own
constexpr UINT kMergeBitmaps = 0x4;          // copy the items' bitmaps
constexpr UINT kMergeReturnHighestId = 0x8;  // return the highest identifier used + 1

// Inserts copies of the source's items into the host at the position (the
// end when past it). Each item gets identifier firstId + its own and is left
// out when that exceeds lastId; nested submenus are copied likewise, their
// items offset too; a popup has no identifier unless kMergeSubmenuIds is
// given and it has one in the source. Consecutive separators become one,
// also where the block meets the host's items. Returns the number of items
// inserted, or with kMergeReturnHighestId the highest identifier used + 1
// (firstId when none was used). When the host or the source cannot be read
// or an item cannot be inserted the host is left as it was and the result
// is nullopt.
std::optional<UINT> MergeMenu(HMENU host, UINT position, HMENU source, UINT firstId, UINT lastId, UINT options);

// The MENUITEMINFO fields items are copied with: the extended ones (in
// UTF-16) on Windows 98 and later and NT 5 and later, the first ones (in
// ANSI) before.
enum class MenuItemFields { kExtended, kOriginal };
MenuItemFields SystemMenuItemFields();
std::optional<UINT> MergeMenuWith(MenuItemFields fields, HMENU host, UINT position, HMENU source, UINT firstId,
                                  UINT lastId, UINT options);

}  // namespace camfolder
