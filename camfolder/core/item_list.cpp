#include "core/item_list.h"

#include <cstring>

namespace {

// The length field of the item at offset, when its two bytes are there.
std::optional<uint16_t> LengthAt(ItemListBytes list, size_t offset) {
  if (offset > list.size() || list.size() - offset < 2) return std::nullopt;
  uint16_t cb;
  std::memcpy(&cb, list.data() + offset, sizeof cb);
  return cb;
}

// Walks the items; calls visit(offset, length) for each. Returns the offset
// of the terminator, or nullopt for a malformed list.
template <typename Visit>
std::optional<size_t> Walk(ItemListBytes list, Visit &&visit) {
  size_t offset = 0;
  for (;;) {
    const auto cb = LengthAt(list, offset);
    if (!cb) return std::nullopt;
    if (*cb == 0) return offset;
    // An item always holds its own length field and fits in the bytes.
    if (*cb < 2 || *cb > list.size() - offset) return std::nullopt;
    if (!visit(offset, *cb)) return offset;
    offset += *cb;
  }
}

constexpr uint8_t kTerminator[2] = {0, 0};

}  // namespace

std::optional<size_t> ListSize(ItemListBytes list) {
  const auto end = Walk(list, [](size_t, uint16_t) { return true; });
  if (!end) return std::nullopt;
  return *end + 2;
}

std::optional<size_t> ItemCount(ItemListBytes list) {
  size_t count = 0;
  if (!Walk(list, [&](size_t, uint16_t) { return ++count, true; })) return std::nullopt;
  return count;
}

std::optional<size_t> ItemOffset(ItemListBytes list, size_t n) {
  size_t passed = 0;
  const auto stop = Walk(list, [&](size_t, uint16_t) { return passed++ < n; });
  if (!stop || passed < n) return std::nullopt;
  return *stop;
}

std::optional<std::vector<uint8_t>> FirstItems(ItemListBytes list, size_t n) {
  if (!ListSize(list)) return std::nullopt;
  const auto end = ItemOffset(list, n);
  if (!end) return std::nullopt;
  std::vector<uint8_t> result(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(*end));
  result.insert(result.end(), std::begin(kTerminator), std::end(kTerminator));
  return result;
}

std::optional<std::vector<uint8_t>> ConcatLists(ItemListBytes first, ItemListBytes second) {
  const auto firstSize = ListSize(first);
  const auto secondSize = ListSize(second);
  if (!firstSize || !secondSize) return std::nullopt;
  std::vector<uint8_t> result(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(*firstSize - 2));
  result.insert(result.end(), second.begin(), second.begin() + static_cast<std::ptrdiff_t>(*secondSize));
  return result;
}

std::vector<uint8_t> SingleItemList(const CameraItem &item) { return PackItems({&item, 1}); }

std::optional<std::vector<CameraItem>> CameraItemsOf(ItemListBytes list) {
  std::vector<CameraItem> items;
  bool valid = true;
  const auto end = Walk(list, [&](size_t offset, uint16_t cb) {
    const auto item = ReadCameraItem(list.subspan(offset, cb));
    if (!item) return valid = false;
    items.push_back(*item);
    return true;
  });
  if (!end || !valid) return std::nullopt;
  return items;
}

std::optional<CameraFolderList> SplitFolderList(ItemListBytes list) {
  CameraFolderList result;
  bool valid = true;
  const auto end = Walk(list, [&](size_t offset, uint16_t cb) {
    const auto item = ReadCameraItem(list.subspan(offset, cb));
    if (item) {
      result.items.push_back(*item);
    } else if (result.items.empty()) {
      ++result.shellItems;
    } else {
      return valid = false;  // below the junction only camera items may follow
    }
    return true;
  });
  if (!end || !valid) return std::nullopt;
  return result;
}

std::vector<uint8_t> PackItems(std::span<const CameraItem> items) {
  std::vector<uint8_t> block(items.size() * sizeof(CameraItem) + 2, 0);
  if (!items.empty()) std::memcpy(block.data(), items.data(), items.size() * sizeof(CameraItem));
  return block;
}
