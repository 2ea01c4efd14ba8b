// Item identifier lists as the shell hands them over and takes them back:
// task memory, read within the bytes known to be there.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "core/camera_item.h"
#include "core/item_list.h"
#include "win_raii.h"

namespace camfolder {

// The bytes of a list handed over by the shell. When the list is a task
// memory block of its own, its allocation bounds it; a list inside another
// block is bounded only by its items' lengths.
ItemListBytes ShellListBytes(PCUIDLIST_RELATIVE list);

// The camera items of a relative list (every item must be one).
std::optional<std::vector<CameraItem>> ShellCameraItems(PCUIDLIST_RELATIVE list);
// The last item of a relative list of camera items.
std::optional<CameraItem> LastCameraItem(PCUIDLIST_RELATIVE list);

// The bytes of a list, its terminator included; empty for a malformed one.
std::vector<uint8_t> CopyOfList(PCUIDLIST_RELATIVE list);

// A copy of the bytes in task memory (the shell frees it).
LPITEMIDLIST ToShellList(const std::vector<uint8_t> &list);

// The name of an absolute list, asked from its parent folder with the flags,
// in ANSI: empty for the camera root (whose parent is not a camera folder).
std::optional<std::string> ItemListName(PCIDLIST_ABSOLUTE list, SHGDNF flags);
// The path kind of an absolute list by its parsing name; -1 without a name.
int ItemListKind(PCIDLIST_ABSOLUTE list);

}  // namespace camfolder
