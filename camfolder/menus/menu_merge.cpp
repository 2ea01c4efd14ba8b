#include "menus/menu_merge.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

#include "win_raii.h"

namespace camfolder {

namespace {

constexpr UINT kExtendedMask =
    MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_DATA | MIIM_STRING | MIIM_BITMAP | MIIM_FTYPE;
constexpr UINT kOriginalMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
static_assert(kExtendedMask == 0x1EF && kOriginalMask == 0x3F);

// The extended fields are read and written in UTF-16, so that texts survive
// whatever the ANSI code page; the original fields are those of the first
// systems with MENUITEMINFO: ANSI, and the structure without hbmpItem.
template <typename Info>
struct MenuApi;
template <>
struct MenuApi<MENUITEMINFOW> {
  using Char = wchar_t;
  static constexpr UINT kSize = sizeof(MENUITEMINFOW);
  static constexpr UINT kMask = kExtendedMask;
  static constexpr UINT kTypeMask = MIIM_FTYPE;
  static constexpr UINT kTextMask = MIIM_STRING;
  static BOOL Get(HMENU menu, UINT index, MENUITEMINFOW &info) { return GetMenuItemInfoW(menu, index, TRUE, &info); }
  static BOOL Insert(HMENU menu, UINT index, const MENUITEMINFOW &info) {
    return InsertMenuItemW(menu, index, TRUE, &info);
  }
};
template <>
struct MenuApi<MENUITEMINFOA> {
  using Char = char;
  static constexpr UINT kSize = offsetof(MENUITEMINFOA, hbmpItem);
  static constexpr UINT kMask = kOriginalMask;
  static constexpr UINT kTypeMask = MIIM_TYPE;
  static constexpr UINT kTextMask = MIIM_TYPE;
  static BOOL Get(HMENU menu, UINT index, MENUITEMINFOA &info) { return GetMenuItemInfoA(menu, index, TRUE, &info); }
  static BOOL Insert(HMENU menu, UINT index, const MENUITEMINFOA &info) {
    return InsertMenuItemA(menu, index, TRUE, &info);
  }
};

// An item on its way into the host: its fields, its own text and its own
// copy of a submenu.
template <typename Info>
struct ItemCopy {
  using Char = typename MenuApi<Info>::Char;
  Info info{};
  std::basic_string<Char> text;
  bool textual = false;  // dwTypeData is its text
  bool separator = false;
  unique_hmenu submenu;
};

template <typename Info>
Info Fields(UINT mask) {
  Info info{};
  info.cbSize = MenuApi<Info>::kSize;
  info.fMask = mask;
  return info;
}

template <typename Info>
bool ReadItem(HMENU menu, UINT index, ItemCopy<Info> &item) {
  using Api = MenuApi<Info>;
  item.info = Fields<Info>(Api::kMask);
  if (!Api::Get(menu, index, item.info)) return false;
  item.separator = (item.info.fType & MFT_SEPARATOR) != 0;
  // Bitmap and owner-drawn items keep a value of their own in dwTypeData.
  if (item.info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) return true;
  std::vector<typename Api::Char> text(item.info.cch + 1, 0);
  Info named = Fields<Info>(Api::kTextMask);
  named.dwTypeData = text.data();
  named.cch = static_cast<UINT>(text.size());
  if (!Api::Get(menu, index, named)) return false;
  item.text = text.data();
  item.textual = true;
  return true;
}

template <typename Info>
bool IsSeparatorAt(HMENU menu, int index) {
  if (index < 0 || index >= GetMenuItemCount(menu)) return false;
  Info info = Fields<Info>(MenuApi<Info>::kTypeMask);
  return MenuApi<Info>::Get(menu, static_cast<UINT>(index), info) && (info.fType & MFT_SEPARATOR);
}

// The fields to insert the copy with.
template <typename Info>
Info InsertFields(ItemCopy<Info> &item, bool bitmaps) {
  using Char = typename MenuApi<Info>::Char;
  static Char noText[1] = {0};
  Info info = item.info;
  info.hSubMenu = item.submenu.get();
  if (item.textual) {
    info.dwTypeData = item.text.data();
    info.cch = static_cast<UINT>(item.text.size());
  }
  if constexpr (std::is_same_v<Info, MENUITEMINFOW>) {
    // The extended fields carry a bitmap in hbmpItem, beside the text.
    if (info.fType & MFT_BITMAP) {
      info.fType &= ~MFT_BITMAP;
      info.dwTypeData = noText;
      info.cch = 0;
    } else if (!item.textual) {
      info.fMask &= ~MIIM_STRING;
    }
    if (!bitmaps) {
      info.fMask &= ~MIIM_BITMAP;
      info.hbmpItem = nullptr;
    }
  } else if (!bitmaps && (info.fType & MFT_BITMAP)) {
    // Without its bitmap the item stays, with an empty text.
    info.fType &= ~MFT_BITMAP;
    info.dwTypeData = noText;
    info.cch = 0;
  }
  return info;
}

template <typename Info>
ItemCopy<Info> Separator() {
  ItemCopy<Info> item;
  item.info = Fields<Info>(MenuApi<Info>::kTypeMask | MIIM_ID);
  item.info.fType = MFT_SEPARATOR;
  item.separator = true;
  return item;
}

template <typename Info>
std::optional<UINT> Merge(HMENU host, UINT position, HMENU source, UINT firstId, UINT lastId, UINT options);

// The source's items as they go into the host, consecutive separators
// already reduced; next becomes the highest identifier used + 1. False when
// the source cannot be read.
template <typename Info>
bool CopyItems(HMENU source, UINT firstId, UINT lastId, UINT options, bool separatorBefore,
               std::vector<ItemCopy<Info>> &copies, UINT &next) {
  const int count = GetMenuItemCount(source);
  if (count < 0) return false;
  bool previousSeparator = separatorBefore;
  for (int index = 0; index < count; ++index) {
    ItemCopy<Info> item;
    if (!ReadItem(source, static_cast<UINT>(index), item)) return false;
    if (item.separator) {
      if (previousSeparator) continue;
      item.info.wID = 0;
      previousSeparator = true;
      copies.push_back(std::move(item));
      continue;
    }
    const bool popup = item.info.hSubMenu != nullptr;
    // A popup made without an identifier of its own carries none, or its
    // submenu's handle; it keeps none.
    const bool ownIdentifier =
        item.info.wID != 0 && item.info.wID != static_cast<UINT>(reinterpret_cast<UINT_PTR>(item.info.hSubMenu));
    const bool identified = !popup || ((options & kMergeSubmenuIds) && ownIdentifier);
    if (identified) {
      if (item.info.wID > lastId - firstId) continue;  // beyond the host's last identifier
      item.info.wID += firstId;
    } else {
      item.info.wID = 0;
    }
    if (popup) {
      item.submenu.reset(CreatePopupMenu());
      if (!item.submenu) return false;
      const auto inner = Merge<Info>(item.submenu.get(), 0, item.info.hSubMenu, firstId, lastId,
                                     (options & ~kMergeWithSeparators) | kMergeReturnHighestId);
      if (!inner) return false;
      // A popup none of whose items fit has nothing to offer.
      if (GetMenuItemCount(item.submenu.get()) <= 0) continue;
      if (*inner > next) next = *inner;
    }
    if (identified && item.info.wID + 1 > next) next = item.info.wID + 1;
    previousSeparator = false;
    copies.push_back(std::move(item));
  }
  return true;
}

template <typename Info>
std::optional<UINT> Merge(HMENU host, UINT position, HMENU source, UINT firstId, UINT lastId, UINT options) {
  const UINT nothing = (options & kMergeReturnHighestId) ? firstId : 0;
  const int hostCount = host ? GetMenuItemCount(host) : -1;
  if (hostCount < 0 || !source || GetMenuItemCount(source) < 0 || lastId < firstId) return std::nullopt;
  const int at = position > static_cast<UINT>(hostCount) ? hostCount : static_cast<int>(position);
  const bool separatorBefore = IsSeparatorAt<Info>(host, at - 1);
  const bool separatorAfter = IsSeparatorAt<Info>(host, at);

  std::vector<ItemCopy<Info>> copies;
  UINT next = firstId;
  if (!CopyItems(source, firstId, lastId, options, separatorBefore, copies, next)) return std::nullopt;
  bool content = false;
  for (const ItemCopy<Info> &item : copies) content = content || !item.separator;
  if (!content) return nothing;
  if (options & kMergeWithSeparators) {
    if (at > 0 && !separatorBefore && !copies.front().separator) copies.insert(copies.begin(), Separator<Info>());
    if (at < hostCount && !separatorAfter && !copies.back().separator) copies.push_back(Separator<Info>());
  }
  // Where the block meets a separator of the host, one is enough.
  if (copies.back().separator && separatorAfter) copies.pop_back();

  const bool bitmaps = (options & kMergeBitmaps) != 0;
  UINT inserted = 0;
  for (ItemCopy<Info> &item : copies) {
    const Info info = InsertFields(item, bitmaps);
    if (!MenuApi<Info>::Insert(host, static_cast<UINT>(at) + inserted, info)) {
      // The host stays as it was.
      while (inserted > 0) DeleteMenu(host, static_cast<UINT>(at) + --inserted, MF_BYPOSITION);
      return std::nullopt;
    }
    item.submenu.release();  // the host owns it now
    ++inserted;
  }
  return (options & kMergeReturnHighestId) ? next : inserted;
}

}  // namespace

MenuItemFields SystemMenuItemFields() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return MenuItemFields::kOriginal;
#pragma GCC diagnostic pop
  const bool windows98 = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
                         (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion >= 10));
  const bool nt5 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
  return windows98 || nt5 ? MenuItemFields::kExtended : MenuItemFields::kOriginal;
}

std::optional<UINT> MergeMenu(HMENU host, UINT position, HMENU source, UINT firstId, UINT lastId, UINT options) {
  return MergeMenuWith(SystemMenuItemFields(), host, position, source, firstId, lastId, options);
}

std::optional<UINT> MergeMenuWith(MenuItemFields fields, HMENU host, UINT position, HMENU source, UINT firstId,
                                  UINT lastId, UINT options) {
  return fields == MenuItemFields::kExtended
             ? Merge<MENUITEMINFOW>(host, position, source, firstId, lastId, options)
             : Merge<MENUITEMINFOA>(host, position, source, firstId, lastId, options);
}

}  // namespace camfolder
