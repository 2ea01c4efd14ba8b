// What happens in the folder view's list: notifications, the default
// command, drags, context menus, commands, the wheel, and the objects the
// view hands out for its items.
#include <shlobj.h>
#include <windowsx.h>

#include <cstring>

#include "core/camera_path.h"
#include "core/item_list.h"
#include "core/item_names.h"
#include "items/module_state.h"
#include "items/shell_item_list.h"
#include "items/working_folder.h"
#include "resource_ids.h"
#include "transfer/clipboard_formats.h"
#include "transfer/drop_source.h"
#include "transfer/fetched_copy.h"
#include "view/camera_view.h"

namespace camfolder {

namespace {

constexpr UINT kMenuFirst = 1;
constexpr UINT kMenuLast = 0x7FFF;

LPARAM RowData(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  return ListView_GetItem(list, &item) ? item.lParam : 0;
}

std::vector<uint8_t> RowList(LPARAM data, bool transferFlag) {
  std::vector<uint8_t> list = CopyOfList(reinterpret_cast<PCUITEMID_CHILD>(data));
  if (transferFlag && list.size() > offsetof(CameraItem, transferFlag)) list[offsetof(CameraItem, transferFlag)] = 1;
  return list;
}

// Sets DragLoop ("InShellDragLoop") of a data object.
void SetDragLoop(IDataObject *data, DWORD value) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof value);
  if (!block) return;
  std::memcpy(GlobalLock(block), &value, sizeof value);
  GlobalUnlock(block);
  FORMATETC format{Formats().dragLoop, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = block;
  if (FAILED(data->SetData(&format, &medium, TRUE))) GlobalFree(block);
}

}  // namespace

std::vector<std::vector<uint8_t>> CCameraView::SelectedItems(bool transferFlag) const {
  std::vector<std::vector<uint8_t>> items;
  for (int i = -1; list_ && (i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) >= 0;)
    if (const LPARAM data = RowData(list_, i)) items.push_back(RowList(data, transferFlag));
  return items;
}

std::vector<std::vector<uint8_t>> CCameraView::AllItems() const {
  std::vector<std::vector<uint8_t>> items;
  const int count = list_ ? ListView_GetItemCount(list_) : 0;
  for (int i = 0; i < count; ++i)
    if (const LPARAM data = RowData(list_, i)) items.push_back(RowList(data, false));
  return items;
}

HRESULT CCameraView::SelectionMenu(UINT, ComPtr<IContextMenu> &menu) const {
  const auto items = SelectedItems(false);
  if (items.empty()) return E_FAIL;
  std::vector<PCUITEMID_CHILD> lists;
  for (const auto &item : items) lists.push_back(reinterpret_cast<PCUITEMID_CHILD>(item.data()));
  return folder_->GetUIObjectOf(window_, static_cast<UINT>(lists.size()), lists.data(), IID_IContextMenu, nullptr,
                                reinterpret_cast<void **>(menu.ReleaseAndGetAddressOf()));
}

bool CCameraView::ShowsTree() const {
  HWND tree = nullptr;
  return browser_ && SUCCEEDED(browser_->GetControlWindow(FCW_TREE, &tree)) && tree;
}

void CCameraView::InvokeMenuCommand(IContextMenu *menu, UINT offset) {
  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof invoke;
  invoke.hwnd = parent_;
  invoke.lpVerb = MAKEINTRESOURCEA(offset);
  invoke.nShow = SW_SHOWNORMAL;
  menu->InvokeCommand(&invoke);
}

void CCameraView::OnDefaultCommand() {
  if (dialogBrowser_) {
    // A dialog that asked for the selection only once still gets the local
    // copies it is about to open.
    if (fetchState_ != 2) {
      fetchState_ = 2;
      if (FAILED(FetchSelectionForDialog())) return;
    }
    if (dialogBrowser_->OnDefaultCommand(shellView_) == S_OK) return;
  }
  ComPtr<IContextMenu> menu;
  if (FAILED(SelectionMenu(0, menu))) return;
  const unique_hmenu popup(CreatePopupMenu());
  if (!popup) return;
  const UINT flags = CMF_DEFAULTONLY | (ShowsTree() ? CMF_EXPLORE : 0);
  if (FAILED(menu->QueryContextMenu(popup.get(), 0, kMenuFirst, kMenuLast, flags))) return;
  const UINT chosen = GetMenuDefaultItem(popup.get(), FALSE, 0);
  if (chosen != static_cast<UINT>(-1) && chosen >= kMenuFirst) InvokeMenuCommand(menu.Get(), chosen - kMenuFirst);
}

void CCameraView::OnBeginDrag(const NMLISTVIEW *drag) {
  ComPtr<IDataObject> data;
  if (FAILED(GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(&data)))) return;
  // Drives stay where they are: no effect is allowed for them.
  DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  for (const auto &list : SelectedItems(false)) {
    const auto item = ReadCameraItem(list);
    if (!item || (item->kind != kFolderItem && item->kind != kFileItem)) allowed = DROPEFFECT_NONE;
  }
  ComPtr<IDropSource> source;
  const DWORD button = drag->hdr.code == LVN_BEGINRDRAG ? MK_RBUTTON : MK_LBUTTON;
  if (FAILED(CDropSource::Create(button, data.Get(), &source))) return;
  SetDragLoop(data.Get(), 1);
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data.Get(), source.Get(), allowed, &effect);
}

void CCameraView::OnContextMenu(POINT point, bool fromKeyboard) {
  if (fromKeyboard) {
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    RECT box{};
    if (focused >= 0 && ListView_GetItemRect(list_, focused, &box, LVIR_BOUNDS)) {
      point = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
      ClientToScreen(list_, &point);
    } else {
      point = {0, 0};
      ClientToScreen(window_, &point);
    }
  }
  ComPtr<IContextMenu> menu;
  if (ListView_GetSelectedCount(list_) > 0 ? FAILED(SelectionMenu(0, menu))
                                           : FAILED(GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&menu))))
    return;
  const unique_hmenu popup(CreatePopupMenu());
  if (!popup) return;
  const UINT flags = CMF_CANRENAME | (ShowsTree() ? CMF_EXPLORE : 0);
  if (FAILED(menu->QueryContextMenu(popup.get(), 0, kMenuFirst, kMenuLast, flags))) return;
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, window_, nullptr));
  if (chosen >= kMenuFirst) InvokeMenuCommand(menu.Get(), chosen - kMenuFirst);
}

// The view carries out its selection, arrangement and label commands
// itself; every other one goes to a menu.
void CCameraView::OnCommand(UINT command, bool fromAccelerator) {
  switch (command) {
    case IDM_SELECT_ALL:
      ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
      return;
    case IDM_INVERT_SELECTION:
      for (int i = 0, count = ListView_GetItemCount(list_); i < count; ++i)
        ListView_SetItemState(list_, i, ListView_GetItemState(list_, i, LVIS_SELECTED) ^ LVIS_SELECTED,
                              LVIS_SELECTED);
      return;
    case IDM_LINE_UP:
      LineUp();
      return;
    case IDM_EDIT_LABEL: {
      const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
      SetFocus(list_);
      if (focused >= 0) SendMessageA(list_, LVM_EDITLABELA, focused, 0);
      return;
    }
  }
  if (command >= IDM_LARGE_ICONS && command <= IDM_DETAILS) {
    SetViewMode(command - IDM_LARGE_ICONS + FVM_ICON);
    return;
  }
  if (command >= IDM_BY_NAME && command <= IDM_BY_DATE) {
    Sort(command - IDM_BY_NAME);
    return;
  }
  // The browser's menus and the accelerators carry the command numbers as
  // they are. A menu command goes to the File menu's object; a key acts on
  // the selection, or on the background when nothing is selected (never on
  // the open folder itself).
  if (!fromAccelerator) {
    OnFileMenuCommand(command);
    return;
  }
  ComPtr<IContextMenu> menu;
  if (FAILED(SelectionMenu(0, menu)) && FAILED(GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&menu)))) return;
  InvokeMenuCommand(menu.Get(), command);
}

void CCameraView::OnWheel(int delta) {
  RECT client{};
  GetClientRect(list_, &client);
  const WheelScroll scroll = ScrollForWheel(delta, static_cast<int>(viewMode_), WheelScrollLines(), client.bottom);
  if (scroll.dx || scroll.dy) ListView_Scroll(list_, scroll.dx, scroll.dy);
}

LRESULT CCameraView::OnNotify(NMHDR *header) {
  if (!header || header->hwndFrom != list_) return 0;
  switch (header->code) {
    case LVN_ITEMACTIVATE:
      OnDefaultCommand();
      return 0;
    case NM_DBLCLK:
    case NM_RETURN:
      // Lists of common controls before 4.70 send no activation of their own.
      if (CommonControlsVersion() < ShellVersionOf(4, 70)) OnDefaultCommand();
      return 0;
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG:
      OnBeginDrag(reinterpret_cast<NMLISTVIEW *>(header));
      return 0;
    case LVN_BEGINLABELEDITA:
      editing_ = true;
      return FALSE;
    case LVN_ENDLABELEDITA: {
      editing_ = false;
      const auto *edit = reinterpret_cast<NMLVDISPINFOA *>(header);
      if (!edit->item.pszText) return FALSE;
      wchar_t name[MAX_PATH];
      if (!MultiByteToWideChar(CP_ACP, 0, edit->item.pszText, -1, name, MAX_PATH)) return FALSE;
      const PCUITEMID_CHILD child = reinterpret_cast<PCUITEMID_CHILD>(RowData(list_, edit->item.iItem));
      return child && SUCCEEDED(folder_->SetNameOf(parent_, child, name, SHGDN_INFOLDER, nullptr));
    }
    case LVN_ITEMCHANGED: {
      const auto *change = reinterpret_cast<NMLISTVIEW *>(header);
      if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) {
        if (dialogBrowser_) {
          fetchState_ = 1;
          dialogBrowser_->OnStateChange(shellView_, CDBOSC_SELCHANGE);
        }
        UpdateStatus();
      }
      return 0;
    }
    case LVN_COLUMNCLICK: {
      const int column = reinterpret_cast<NMLISTVIEW *>(header)->iSubItem;
      if (column >= 0 && column <= 3) Sort(SortAfterClick(sort_, static_cast<uint32_t>(column)));
      return 0;
    }
    case LVN_GETINFOTIPA: {
      auto *tip = reinterpret_cast<NMLVGETINFOTIPA *>(header);
      if (!tip->pszText || tip->cchTextMax <= 0) return 0;
      if (tip->iSubItem != 0) {
        lstrcpynA(tip->pszText, "InfoTip", tip->cchTextMax);
        return 0;
      }
      char name[MAX_PATH] = "";
      ListView_GetItemText(list_, tip->iItem, 0, name, sizeof name);
      const int width = static_cast<int>(SendMessageA(list_, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(name)));
      // The whole name, when the column shows less of it.
      lstrcpynA(tip->pszText, ListView_GetColumnWidth(list_, 0) < width + 4 ? name : "", tip->cchTextMax);
      return 0;
    }
    case LVN_DELETEITEM:
      CoTaskMemFree(reinterpret_cast<void *>(reinterpret_cast<NMLISTVIEW *>(header)->lParam));
      return 0;
    case NM_SETFOCUS:
      if (browser_) browser_->OnViewWindowActive(shellView_);
      UIActivate(SVUIA_ACTIVATE_FOCUS);
      if (dialogBrowser_) dialogBrowser_->OnStateChange(shellView_, CDBOSC_SETFOCUS);
      return 0;
    case NM_KILLFOCUS:
      if (dialogBrowser_) dialogBrowser_->OnStateChange(shellView_, CDBOSC_KILLFOCUS);
      return 0;
  }
  return 0;
}

HRESULT CCameraView::SelectItem(PCUITEMID_CHILD child, SVSIF flags) {
  if (flags != SVSI_DESELECT && flags != SVSI_SELECT && flags != SVSI_EDIT && flags != SVSI_DESELECTOTHERS &&
      flags != SVSI_ENSUREVISIBLE && flags != SVSI_FOCUSED)
    return E_INVALIDARG;
  if (!list_) return E_UNEXPECTED;
  if (flags == SVSI_DESELECTOTHERS) {
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    if (!child) return S_OK;
  }
  const auto item = LastCameraItem(child);
  if (!item) return E_INVALIDARG;
  const std::vector<uint8_t> wanted = SingleItemList(*item);
  // Found by its name, confirmed by its bytes.
  const std::string name = ListedName(item->kind == kFileItem ? item->path : item->name, showExtensions_);
  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = name.c_str();
  int row = -1;
  for (;;) {
    row = static_cast<int>(SendMessageA(list_, LVM_FINDITEMA, row, reinterpret_cast<LPARAM>(&find)));
    if (row < 0) return E_FAIL;
    const std::vector<uint8_t> stored = RowList(RowData(list_, row), false);
    if (stored.size() == wanted.size() && std::memcmp(stored.data(), wanted.data(), wanted.size() - 2) == 0) break;
  }
  switch (flags) {
    case SVSI_DESELECT:
      ListView_SetItemState(list_, row, 0, LVIS_SELECTED);
      break;
    case SVSI_SELECT:
    case SVSI_DESELECTOTHERS:
      ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
      break;
    case SVSI_EDIT:
      SendMessageA(list_, LVM_EDITLABELA, row, 0);
      break;
    case SVSI_ENSUREVISIBLE:
      ListView_EnsureVisible(list_, row, FALSE);
      break;
    case SVSI_FOCUSED:
      ListView_SetItemState(list_, row, LVIS_FOCUSED, LVIS_FOCUSED);
      break;
  }
  return S_OK;
}

HRESULT CCameraView::FetchSelectionForDialog() {
  SetCurrentDirectoryA(WorkingFolder().c_str());
  std::vector<CameraItem> files;
  for (const auto &list : SelectedItems(false))
    if (const auto item = ReadCameraItem(list); item && item->kind == kFileItem) files.push_back(*item);
  const DWORD total = static_cast<DWORD>(files.size());
  for (DWORD i = 0; i < total; ++i) {
    const auto cameraPath = ChildPath(path_, files[i].name, false);
    const auto folder = ProcessFolder();
    const auto local = cameraPath && folder ? OpenedCopyPath(*folder, *cameraPath, files[i].name) : std::nullopt;
    if (!local) return E_INVALIDARG;
    CurrentProgress() = {i + 1, total};
    const tagZLXPROGRESSPARAM progress{WindowTo32(window_), 1, 1};
    if (const HRESULT hr = FetchOpenedCopy(*cameraPath, *local, progress); FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT CCameraView::GetItemObject(UINT which, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  const UINT kind = which & SVGIO_TYPE_MASK;
  if (kind == SVGIO_BACKGROUND) {
    if (!IsEqualIID(interfaceId, IID_IContextMenu)) return E_NOINTERFACE;
    SetCurrentDirectoryA(WorkingFolder().c_str());
    return CreateBackgroundMenu(interfaceId, object);
  }
  if (kind != SVGIO_SELECTION && kind != SVGIO_ALLVIEW) return E_INVALIDARG;
  if (!IsEqualIID(interfaceId, IID_IDataObject)) return E_NOINTERFACE;
  const bool selection = kind == SVGIO_SELECTION;
  const auto items = selection ? SelectedItems(true) : AllItems();
  if (items.empty()) return selection ? E_FAIL : S_FALSE;
  if (selection && dialogBrowser_) {
    // A file dialog asks at every change of the selection and again to
    // open: the local copies are made at the second request only.
    if (fetchState_ == 1) {
      fetchState_ = 0;
    } else if (fetchState_ == 0) {
      fetchState_ = 2;
      if (const HRESULT hr = FetchSelectionForDialog(); FAILED(hr)) return hr;
    }
  }
  std::vector<PCUITEMID_CHILD> lists;
  for (const auto &item : items) lists.push_back(reinterpret_cast<PCUITEMID_CHILD>(item.data()));
  return folder_->GetUIObjectOf(parent_, static_cast<UINT>(lists.size()), lists.data(), interfaceId, nullptr, object);
}

}  // namespace camfolder
