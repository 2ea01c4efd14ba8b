#include "menus/combined_menu.h"

#include <new>

#include "core/item_list.h"
#include "export_guard.h"
#include "items/shell_item_list.h"
#include "menus/camera_commands.h"
#include "menus/command_table.h"
#include "menus/context_menus.h"
#include "menus/item_menu.h"
#include "menus/menu_merge.h"
#include "menus/menu_resources.h"
#include "resource_ids.h"

namespace camfolder {

HRESULT CCombinedMenu::Create(IShellFolder *folder, const std::vector<uint8_t> &folderList,
                              const std::vector<std::vector<uint8_t>> &items, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  const auto split = SplitFolderList(folderList);
  if (!split) return E_INVALIDARG;
  ComPtr<IContextMenu> selection;
  if (const HRESULT hr = CItemMenu::Create(folder, folderList, items, IID_PPV_ARGS(&selection)); FAILED(hr)) return hr;
  auto *menu = new (std::nothrow) CCombinedMenu;
  if (!menu) return E_OUTOFMEMORY;
  menu->selection_ = selection;
  menu->folderPath_ = split->items.empty() ? std::string() : std::string(split->items.back().path);
  const HRESULT hr = menu->QueryInterface(interfaceId, object);
  menu->Release();
  return hr;
}

HRESULT CreateCombinedMenu(IShellFolder *folder, PCIDLIST_ABSOLUTE folderList, UINT count, PCUITEMID_CHILD_ARRAY items,
                           REFIID interfaceId, void **object) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (object) *object = nullptr;
    if (count == 0 || !items) return E_INVALIDARG;
    const ItemListBytes folderBytes = ShellListBytes(folderList);
    const auto folderSize = ListSize(folderBytes);
    if (!folderSize) return E_INVALIDARG;
    std::vector<std::vector<uint8_t>> lists;
    for (UINT i = 0; i < count; ++i) {
      const ItemListBytes bytes = ShellListBytes(items[i]);
      const auto size = ListSize(bytes);
      if (!size) return E_INVALIDARG;
      lists.emplace_back(bytes.begin(), bytes.begin() + *size);
    }
    return CCombinedMenu::Create(folder, std::vector<uint8_t>(folderBytes.begin(), folderBytes.begin() + *folderSize),
                                 lists, interfaceId, object);
  });
}

STDMETHODIMP CCombinedMenu::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IContextMenu)) {
    *object = static_cast<IContextMenu *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CCombinedMenu::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CCombinedMenu::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

// Everything is put together in a menu of its own first, so that a failure
// leaves the host as it was.
HRESULT CCombinedMenu::Build(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) {
  const unique_hmenu combined(CreatePopupMenu());
  unique_hmenu source = LoadSubmenu(IDM_COMBINED_MENU, 1);
  if (!combined || !source || !FillNewSubmenu(source.get())) return E_UNEXPECTED;
  // The camera root holds drives only.
  if (folderPath_.empty()) EnableMenuItem(source.get(), IDM_NEW, MF_BYCOMMAND | MF_GRAYED);
  const auto merged =
      MergeMenu(combined.get(), 0, source.get(), firstId, lastId, kMergeSubmenuIds | kMergeReturnHighestId);
  if (!merged) return E_UNEXPECTED;
  UINT next = *merged;
  int placeholder = 0;
  for (int at = 0; at < GetMenuItemCount(combined.get()); ++at)
    if (GetMenuItemID(combined.get(), at) == firstId + IDM_SELECTION_MENU) placeholder = at;
  const HRESULT selection =
      selection_->QueryContextMenu(combined.get(), static_cast<UINT>(placeholder), firstId, lastId, flags);
  if (FAILED(selection)) return E_UNEXPECTED;
  if (firstId + HRESULT_CODE(selection) > next) next = firstId + HRESULT_CODE(selection);
  DeleteMenu(combined.get(), firstId + IDM_SELECTION_MENU, MF_BYCOMMAND);
  if (!(flags & CMF_CANRENAME)) DeleteMenu(combined.get(), firstId + IDM_RENAME, MF_BYCOMMAND);
  // The identifiers are the host's already.
  if (GetMenuItemCount(combined.get()) > 0) {
    const auto placed = MergeMenu(menu, position, combined.get(), 0, lastId, kMergeSubmenuIds);
    if (!placed || *placed == 0) return E_UNEXPECTED;
  }
  return IdentifiersUsed(next, firstId);
}

STDMETHODIMP CCombinedMenu::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) {
  if (!menu || lastId < firstId) return E_INVALIDARG;
  if (flags & CMF_DEFAULTONLY) return selection_->QueryContextMenu(menu, position, firstId, lastId, flags);
  return RunExport(E_UNEXPECTED, [&] { return Build(menu, position, firstId, lastId, flags); });
}

STDMETHODIMP CCombinedMenu::InvokeCommand(CMINVOKECOMMANDINFO *invoke) {
  const auto command = InvokedCommand(invoke, DeleteVerb::kAccepted);
  if (!command) return E_INVALIDARG;
  if (*command == IDM_NEW_FOLDER) return RunExport(E_OUTOFMEMORY, [&] { return NewFolder(invoke->hwnd, folderPath_); });
  return selection_->InvokeCommand(invoke);
}

STDMETHODIMP CCombinedMenu::GetCommandString(UINT_PTR command, UINT type, UINT *, LPSTR name, UINT size) {
  return CommandString(command, type, name, size);
}

}  // namespace camfolder
