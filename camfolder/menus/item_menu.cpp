#include "menus/item_menu.h"

#include <new>

#include "core/camera_path.h"
#include "core/item_list.h"
#include "export_guard.h"
#include "items/camera_connection.h"
#include "menus/camera_commands.h"
#include "menus/command_table.h"
#include "menus/menu_merge.h"
#include "menus/menu_resources.h"
#include "resource_ids.h"

namespace camfolder {

HRESULT CItemMenu::Create(IShellFolder *folder, const std::vector<uint8_t> &folderList,
                          const std::vector<std::vector<uint8_t>> &items, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  const auto split = SplitFolderList(folderList);
  if (!folder || items.empty() || !split) return E_INVALIDARG;
  std::vector<CameraItem> cameraItems;
  for (const std::vector<uint8_t> &item : items) {
    const auto camera = CameraItemsOf(item);
    if (!camera || camera->size() != 1) return E_INVALIDARG;
    cameraItems.push_back(camera->front());
  }
  auto *menu = new (std::nothrow) CItemMenu;
  if (!menu) return E_OUTOFMEMORY;
  menu->folder_ = folder;
  menu->folderList_ = folderList;
  menu->folderPath_ = split->items.empty() ? std::string() : std::string(split->items.back().path);
  menu->items_ = items;
  menu->cameraItems_ = std::move(cameraItems);
  const HRESULT hr = menu->QueryInterface(interfaceId, object);
  menu->Release();
  return hr;
}

STDMETHODIMP CItemMenu::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IContextMenu)) {
    *object = static_cast<IContextMenu *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CItemMenu::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CItemMenu::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

HRESULT CItemMenu::PrepareMenu(UINT flags, unique_hmenu &menu) {
  PCUITEMID_CHILD first = reinterpret_cast<PCUITEMID_CHILD>(items_.front().data());
  SFGAOF attributes = SFGAO_FOLDER;
  if (FAILED(folder_->GetAttributesOf(1, &first, &attributes))) return E_UNEXPECTED;
  UINT resource = IDM_FILE_MENU;
  if (attributes & SFGAO_FOLDER) resource = folderPath_.empty() ? IDM_DRIVE_MENU : IDM_FOLDER_MENU;
  menu = LoadSubmenu(resource, 1);
  if (!menu) return E_UNEXPECTED;
  HMENU items = menu.get();
  const bool noDefault = (flags & CMF_NODEFAULT) != 0;
  const auto makeDefault = [&](UINT command) { SetMenuDefaultItem(items, noDefault ? UINT(-1) : command, FALSE); };

  if (resource == IDM_FILE_MENU) {
    makeDefault(IDM_OPEN_FILE);
  } else if (ShellVersion() < ShellVersionOf(4, 71)) {
    DeleteMenu(items, IDM_OPEN, MF_BYCOMMAND);
    makeDefault(IDM_EXPLORE);
  } else if (flags & CMF_EXPLORE) {
    makeDefault(IDM_EXPLORE);
  } else {
    MoveCommandBefore(items, IDM_OPEN, IDM_EXPLORE);
    makeDefault(IDM_OPEN);
  }
  // The internal memory holds the camera's own files.
  if (resource == IDM_DRIVE_MENU && SameCameraText(cameraItems_.front().path, "0:/"))
    EnableMenuItem(items, IDM_FORMAT, MF_BYCOMMAND | MF_GRAYED);
  if (cameraItems_.size() > 1) DeleteMenu(items, IDM_FORMAT, MF_BYCOMMAND);

  if (flags & CMF_DEFAULTONLY) {
    KeepOnlyCommand(items, GetMenuDefaultItem(items, FALSE, 0));
    return S_OK;
  }
  if (GetMenuState(items, IDM_SEND_TO, MF_BYCOMMAND) != UINT(-1)) {
    unique_hmenu sendTo = sendTo_.Build(IDM_SEND_TO_FIRST);
    if (!sendTo || !AttachSubmenu(items, IDM_SEND_TO, std::move(sendTo))) return E_UNEXPECTED;
  }
  if (!(flags & CMF_CANRENAME)) DeleteMenu(items, IDM_RENAME, MF_BYCOMMAND);
  return S_OK;
}

STDMETHODIMP CItemMenu::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) {
  if (!menu || lastId < firstId) return E_INVALIDARG;
  if (!folder_ || items_.empty()) return E_UNEXPECTED;
  return RunExport(E_UNEXPECTED, [&]() -> HRESULT {
    unique_hmenu source;
    if (FAILED(PrepareMenu(flags, source))) return E_UNEXPECTED;
    return IdentifiersUsed(
        MergeMenu(menu, position, source.get(), firstId, lastId, kMergeSubmenuIds | kMergeReturnHighestId), firstId);
  });
}

std::vector<std::vector<uint8_t>> CItemMenu::FullLists() const {
  std::vector<std::vector<uint8_t>> lists;
  for (const std::vector<uint8_t> &item : items_)
    if (auto full = ConcatLists(folderList_, item)) lists.push_back(std::move(*full));
  return lists;
}

HRESULT CItemMenu::Run(HWND owner, UINT command) {
  switch (command) {
    case IDM_SAVE_CONFIG:
      return SaveConfiguration(owner);
    case IDM_RESTORE_CONFIG:
      return RestoreConfiguration(owner);
    case IDM_PROPERTIES:
      return ShowObjectProperties(owner, FullLists());
    case IDM_EXPLORE:
      return ExploreObjects(owner, FullLists());
    case IDM_OPEN:
    case IDM_OPEN_FILE:
      return OpenObjects(owner, FullLists());
    case IDM_DELETE:
      return DeleteItems(owner, cameraItems_);
    case IDM_DISCONNECT:
      Disconnect();
      return S_OK;
    case IDM_NEW_FOLDER:
      return NewFolder(owner, folderPath_);
    case IDM_FORMAT:
      return FormatDrive(owner, cameraItems_.front());
    case IDM_RENAME:
      return StartRename();
  }
  if (command >= IDM_SEND_TO_FIRST) return sendTo_.Send(owner, folder_.Get(), items_, command - IDM_SEND_TO_FIRST);
  return E_INVALIDARG;
}

STDMETHODIMP CItemMenu::InvokeCommand(CMINVOKECOMMANDINFO *invoke) {
  const auto command = InvokedCommand(invoke, DeleteVerb::kAccepted);
  if (!command) return E_INVALIDARG;
  return RunExport(E_OUTOFMEMORY, [&] { return Run(invoke->hwnd, *command); });
}

STDMETHODIMP CItemMenu::GetCommandString(UINT_PTR command, UINT type, UINT *, LPSTR name, UINT size) {
  return CommandString(command, type, name, size);
}

}  // namespace camfolder
