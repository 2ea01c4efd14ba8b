#include "menus/background_menu.h"

#include <new>

#include "core/item_list.h"
#include "export_guard.h"
#include "items/camera_connection.h"
#include "items/shell_item_list.h"
#include "menus/camera_commands.h"
#include "menus/command_table.h"
#include "menus/context_menus.h"
#include "menus/menu_merge.h"
#include "menus/menu_resources.h"
#include "resource_ids.h"

namespace camfolder {

namespace {

constexpr UINT kLargeIcons = 1;  // FOLDERVIEWMODE
constexpr UINT kSmallIcons = 2;
constexpr UINT kDetails = 4;

}  // namespace

HRESULT CBackgroundMenu::Create(const std::vector<uint8_t> &folderList, ViewCommands &view, REFIID interfaceId,
                                void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  const auto split = SplitFolderList(folderList);
  if (!split) return E_INVALIDARG;
  auto *menu = new (std::nothrow) CBackgroundMenu(view);
  if (!menu) return E_OUTOFMEMORY;
  menu->folderList_ = folderList;
  menu->folderPath_ = split->items.empty() ? std::string() : std::string(split->items.back().path);
  const HRESULT hr = menu->QueryInterface(interfaceId, object);
  menu->Release();
  return hr;
}

HRESULT CreateBackgroundMenu(PCIDLIST_ABSOLUTE folderList, ViewCommands &view, REFIID interfaceId, void **object) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    const ItemListBytes bytes = ShellListBytes(folderList);
    const auto size = ListSize(bytes);
    if (!size) return E_INVALIDARG;
    return CBackgroundMenu::Create(std::vector<uint8_t>(bytes.begin(), bytes.begin() + *size), view, interfaceId,
                                   object);
  });
}

STDMETHODIMP CBackgroundMenu::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IContextMenu)) {
    *object = static_cast<IContextMenu *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CBackgroundMenu::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CBackgroundMenu::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CBackgroundMenu::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) {
  if (!menu || lastId < firstId) return E_INVALIDARG;
  if (flags & CMF_DEFAULTONLY) return IdentifiersUsed(firstId, firstId);
  return RunExport(E_UNEXPECTED, [&]() -> HRESULT {
    unique_hmenu source = LoadSubmenu(IDM_BACKGROUND_MENU, 1);
    if (!source || !FillNewSubmenu(source.get())) return E_UNEXPECTED;
    // The camera root holds drives only.
    if (folderPath_.empty()) EnableMenuItem(source.get(), IDM_NEW, MF_BYCOMMAND | MF_GRAYED);
    const UINT mode = view_.ViewMode();
    if (mode >= kLargeIcons && mode <= kDetails)
      CheckMenuRadioItem(source.get(), IDM_LARGE_ICONS, IDM_DETAILS, IDM_LARGE_ICONS + mode - kLargeIcons,
                         MF_BYCOMMAND);
    // Lining up has a meaning only where icons stand freely.
    EnableMenuItem(source.get(), IDM_LINE_UP,
                   MF_BYCOMMAND | (mode == kLargeIcons || mode == kSmallIcons ? MF_ENABLED : MF_GRAYED));
    return IdentifiersUsed(MergeMenu(menu, position, source.get(), firstId, lastId,
                                     kMergeWithSeparators | kMergeSubmenuIds | kMergeReturnHighestId),
                           firstId);
  });
}

HRESULT CBackgroundMenu::Run(HWND owner, UINT command) {
  if (command >= IDM_LARGE_ICONS && command <= IDM_DETAILS) {
    view_.SetViewMode(command - IDM_LARGE_ICONS + kLargeIcons);
    return S_OK;
  }
  if (command >= IDM_BY_NAME && command <= IDM_BY_DATE) {
    view_.SortBy(static_cast<int>(command - IDM_BY_NAME));
    return S_OK;
  }
  switch (command) {
    case IDM_LINE_UP:
      view_.LineUp();
      return S_OK;
    case IDM_PROPERTIES:
      return ShowObjectProperties(owner, {folderList_});
    case IDM_NEW_FOLDER:
      return NewFolder(owner, folderPath_);
    case IDM_DISCONNECT:
      Disconnect();
      return S_OK;
  }
  return E_INVALIDARG;
}

STDMETHODIMP CBackgroundMenu::InvokeCommand(CMINVOKECOMMANDINFO *invoke) {
  const auto command = InvokedCommand(invoke, DeleteVerb::kRefused);
  if (!command) return E_INVALIDARG;
  return RunExport(E_OUTOFMEMORY, [&] { return Run(invoke->hwnd, *command); });
}

STDMETHODIMP CBackgroundMenu::GetCommandString(UINT_PTR command, UINT type, UINT *, LPSTR name, UINT size) {
  return CommandString(command, type, name, size);
}

}  // namespace camfolder
