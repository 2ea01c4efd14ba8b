#include "menus/folder_menu.h"

#include <new>

#include "core/camera_path.h"
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

HRESULT CFolderMenu::Create(IShellFolder *folder, const std::vector<uint8_t> &folderList, REFIID interfaceId,
                            void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  const auto split = SplitFolderList(folderList);
  if (!folder || !split) return E_INVALIDARG;
  auto *menu = new (std::nothrow) CFolderMenu;
  if (!menu) return E_OUTOFMEMORY;
  menu->folder_ = folder;
  menu->folderList_ = folderList;
  menu->root_ = split->items.empty();
  if (!menu->root_) menu->self_ = split->items.back();
  const HRESULT hr = menu->QueryInterface(interfaceId, object);
  menu->Release();
  return hr;
}

HRESULT CreateFolderMenu(IShellFolder *folder, PCIDLIST_ABSOLUTE folderList, REFIID interfaceId, void **object) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    const ItemListBytes bytes = ShellListBytes(folderList);
    const auto size = ListSize(bytes);
    if (!size) return E_INVALIDARG;
    return CFolderMenu::Create(folder, std::vector<uint8_t>(bytes.begin(), bytes.begin() + *size), interfaceId,
                               object);
  });
}

STDMETHODIMP CFolderMenu::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IContextMenu)) {
    *object = static_cast<IContextMenu *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFolderMenu::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CFolderMenu::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CFolderMenu::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) {
  if (!menu || lastId < firstId) return E_INVALIDARG;
  // The folder itself has no default command.
  if (flags & CMF_DEFAULTONLY) return IdentifiersUsed(firstId, firstId);
  return RunExport(E_UNEXPECTED, [&]() -> HRESULT {
    const PathKind kind = root_ ? kRootPath : PathKindOf(self_.path);
    UINT resource = 0;
    if (kind == kRootPath) resource = IDM_ROOT_MENU;
    else if (kind == kDrivePath) resource = IDM_DRIVE_MENU;
    else if (kind == kFolderPath) resource = IDM_FOLDER_MENU;
    else return E_UNEXPECTED;
    unique_hmenu source = LoadSubmenu(resource, 0);
    if (!source || (resource != IDM_ROOT_MENU && !FillNewSubmenu(source.get()))) return E_UNEXPECTED;
    // The internal memory holds the camera's own files.
    if (kind == kDrivePath && SameCameraText(self_.path, "0:/"))
      EnableMenuItem(source.get(), IDM_FORMAT, MF_BYCOMMAND | MF_GRAYED);
    const auto next =
        MergeMenu(menu, position, source.get(), firstId, lastId, kMergeSubmenuIds | kMergeReturnHighestId);
    if (next && !(flags & CMF_CANRENAME)) DeleteMenu(menu, firstId + IDM_RENAME, MF_BYCOMMAND);
    return IdentifiersUsed(next, firstId);
  });
}

HRESULT CFolderMenu::Run(HWND owner, UINT command) {
  switch (command) {
    case IDM_SAVE_CONFIG:
      return SaveConfiguration(owner);
    case IDM_RESTORE_CONFIG:
      return RestoreConfiguration(owner);
    case IDM_PROPERTIES:
      return ShowObjectProperties(owner, {folderList_});
    case IDM_DISCONNECT:
      Disconnect();
      return S_OK;
  }
  if (root_) return E_INVALIDARG;
  switch (command) {
    case IDM_NEW_FOLDER:
      return NewFolder(owner, self_.path);
    case IDM_FORMAT:
      return FormatDrive(owner, self_);
    case IDM_DELETE:
      return DeleteItems(owner, {self_});
    case IDM_RENAME:
      return StartRename();
  }
  return E_INVALIDARG;
}

STDMETHODIMP CFolderMenu::InvokeCommand(CMINVOKECOMMANDINFO *invoke) {
  const auto command = InvokedCommand(invoke, DeleteVerb::kRefused);
  if (!command) return E_INVALIDARG;
  return RunExport(E_OUTOFMEMORY, [&] { return Run(invoke->hwnd, *command); });
}

STDMETHODIMP CFolderMenu::GetCommandString(UINT_PTR command, UINT type, UINT *, LPSTR name, UINT size) {
  return CommandString(command, type, name, size);
}

}  // namespace camfolder
