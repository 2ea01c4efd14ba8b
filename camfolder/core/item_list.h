// Shell item identifier lists as bytes: a sequence of items, each starting
// with its 16-bit total length, ended by a zero length. Items are opaque
// blocks here; every operation is bounded by the bytes known to be there,
// so a list whose lengths run past its allocation is never walked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/camera_item.h"

using ItemListBytes = std::span<const uint8_t>;

// The length of the list with its 2-byte terminator; nullopt when an item is
// shorter than its own length field or the list runs past the bytes.
std::optional<size_t> ListSize(ItemListBytes list);
// The number of items before the terminator.
std::optional<size_t> ItemCount(ItemListBytes list);
// The offset of item n (n items skipped); nullopt when the list has fewer.
std::optional<size_t> ItemOffset(ItemListBytes list, size_t n);

// The first n items as a new list with its terminator.
std::optional<std::vector<uint8_t>> FirstItems(ItemListBytes list, size_t n);
// The items of the first list followed by those of the second.
std::optional<std::vector<uint8_t>> ConcatLists(ItemListBytes first, ItemListBytes second);
// A one-item list holding the item.
std::vector<uint8_t> SingleItemList(const CameraItem &item);

// The items of a list below a camera folder: every item must be a camera
// item; nullopt otherwise.
std::optional<std::vector<CameraItem>> CameraItemsOf(ItemListBytes list);

// An absolute list of a camera folder: the shell's items up to the camera's
// junction, then camera items only.
struct CameraFolderList {
  size_t shellItems = 0;           // items before the first camera item
  std::vector<CameraItem> items;   // drive, folders (none for the camera root)
};
std::optional<CameraFolderList> SplitFolderList(ItemListBytes list);

// Packs items into one block ended by a zero length (count x 556 + 2 bytes).
std::vector<uint8_t> PackItems(std::span<const CameraItem> items);
