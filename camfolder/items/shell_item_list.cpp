#include "items/shell_item_list.h"

#include <shlwapi.h>

#include <cstring>

#include "core/camera_path.h"
#include "folder/camfolder_guids.h"

namespace camfolder {

namespace {

// A list that is not an allocation of its own is walked by its items'
// lengths; this only keeps the walk from going on for ever.
constexpr size_t kUnboundedList = 0x100000;

}  // namespace

ItemListBytes ShellListBytes(PCUIDLIST_RELATIVE list) {
  if (!list) return {};
  size_t available = kUnboundedList;
  ComPtr<IMalloc> allocator;
  if (SUCCEEDED(CoGetMalloc(1, &allocator)) && allocator->DidAlloc(const_cast<ITEMIDLIST_RELATIVE *>(list)) == 1) {
    const SIZE_T size = allocator->GetSize(const_cast<ITEMIDLIST_RELATIVE *>(list));
    if (size != static_cast<SIZE_T>(-1)) available = size;
  }
  return {reinterpret_cast<const uint8_t *>(list), available};
}

std::optional<std::vector<CameraItem>> ShellCameraItems(PCUIDLIST_RELATIVE list) {
  if (!list) return std::nullopt;
  return CameraItemsOf(ShellListBytes(list));
}

std::optional<CameraItem> LastCameraItem(PCUIDLIST_RELATIVE list) {
  auto items = ShellCameraItems(list);
  if (!items || items->empty()) return std::nullopt;
  return items->back();
}

std::vector<uint8_t> CopyOfList(PCUIDLIST_RELATIVE list) {
  const ItemListBytes bytes = ShellListBytes(list);
  const auto size = ListSize(bytes);
  if (!size) return {};
  return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(*size));
}

LPITEMIDLIST ToShellList(const std::vector<uint8_t> &list) {
  auto *copy = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(list.size()));
  if (copy) std::memcpy(copy, list.data(), list.size());
  return copy;
}

std::optional<std::string> ItemListName(PCIDLIST_ABSOLUTE list, SHGDNF flags) {
  if (!list) return std::nullopt;
  ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD last = nullptr;
  if (FAILED(SHBindToParent(list, IID_PPV_ARGS(&parent), &last))) return std::nullopt;
  ComPtr<IPersist> persist;
  CLSID parentClass{};
  if (FAILED(parent.As(&persist)) || FAILED(persist->GetClassID(&parentClass)) ||
      !IsEqualCLSID(parentClass, kCameraFolderClass))
    return std::string();
  STRRET name{};
  if (FAILED(parent->GetDisplayNameOf(last, flags, &name))) return std::nullopt;
  char text[MAX_PATH];
  if (FAILED(StrRetToBufA(&name, last, text, sizeof text))) return std::nullopt;
  return std::string(text);
}

int ItemListKind(PCIDLIST_ABSOLUTE list) {
  const auto name = ItemListName(list, SHGDN_FORPARSING);
  return name ? PathKindOf(name->c_str()) : kNoPath;
}

}  // namespace camfolder
