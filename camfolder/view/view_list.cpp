// The folder view's list: its columns, its items read from the folder, their
// order and the status texts.
#include <cstring>

#include "core/item_list.h"
#include "items/camera_connection.h"
#include "items/module_state.h"
#include "items/module_strings.h"
#include "items/shell_item_list.h"
#include "resource_ids.h"
#include "transfer/camera_drop_target.h"
#include "view/camera_view.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace camfolder {

namespace {

// The texts whose widths the columns take when no width was saved.
constexpr const char *kWidthSamples[kViewColumns] = {"ICOxxxxxxxx.xxx ", "8888KB ", "WWWWWWWWWWWWWWWWWWWW",
                                                     "1888/18/88 88:88 ", "RHSA "};
constexpr int kColumnAlignment[kViewColumns] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT};

std::optional<CameraItem> ItemOf(LPARAM data) {
  if (!data) return std::nullopt;
  return ReadCameraItem(std::span<const uint8_t>(reinterpret_cast<const uint8_t *>(data), sizeof(CameraItem)));
}

std::string ModifiedText(const CameraItem &item) {
  SYSTEMTIME time;
  static_assert(sizeof time == sizeof item.time);
  std::memcpy(&time, &item.time, sizeof time);
  char date[64] = "", clock[32] = "";
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof date)) return {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, sizeof clock);
  return std::string(date) + " " + clock;
}

}  // namespace

void CCameraView::SetUpWindow() {
  list_ = GetDlgItem(window_, IDC_VIEW_LIST);
  if (!list_) return;
  DWORD style = static_cast<DWORD>(GetWindowLongA(list_, GWL_STYLE));
  if (path_.empty()) {
    // Drive labels are no names to edit; the root has icons of its own.
    style &= ~(LVS_EDITLABELS | LVS_SHAREIMAGELISTS);
    largeIcons_ = ImageList_Create(32, 32, ILC_COLOR4 | ILC_MASK, 1, 0);
    smallIcons_ = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 0);
    for (HIMAGELIST icons : {largeIcons_, smallIcons_}) {
      const int side = icons == largeIcons_ ? 32 : 16;
      const unique_hicon icon(static_cast<HICON>(
          LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(IDI_DRIVE), IMAGE_ICON, side, side, 0)));
      if (icons && icon) ImageList_AddIcon(icons, icon.get());
    }
  }
  if (folderFlags_ & FWF_AUTOARRANGE) style |= LVS_AUTOARRANGE;
  if (folderFlags_ & FWF_SINGLESEL) style |= LVS_SINGLESEL;
  if (folderFlags_ & FWF_ALIGNLEFT) style |= LVS_ALIGNLEFT;
  SetWindowLongA(list_, GWL_STYLE, static_cast<LONG>(style | LVS_SHOWSELALWAYS));
  for (int column = 0; column < 4; ++column) InsertColumn(column);
  RECT client;
  GetClientRect(window_, &client);
  MoveWindow(list_, 0, 0, client.right, client.bottom, FALSE);
  if (SUCCEEDED(CCameraDropTarget::Create(path_, folder_.Get(), window_, list_, IID_PPV_ARGS(&dropTarget_))) &&
      FAILED(RegisterDragDrop(list_, dropTarget_.Get())))
    dropTarget_.Reset();
}

int CCameraView::ColumnWidth(int column) {
  // The string width leaves out the cell's margins, and in the first
  // column its small icon.
  constexpr int kMargins = 12;
  if (widths_[column] == 0 && list_)
    widths_[column] = static_cast<int>(SendMessageA(list_, LVM_GETSTRINGWIDTHA, 0,
                                                    reinterpret_cast<LPARAM>(kWidthSamples[column]))) +
                      kMargins + (column == 0 ? GetSystemMetrics(SM_CXSMICON) : 0);
  return widths_[column];
}

void CCameraView::InsertColumn(int column) {
  std::wstring title = LoadModuleText(IDS_COLUMN_NAME + column).value_or(L"");
  LVCOLUMNW entry{};
  entry.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  entry.fmt = kColumnAlignment[column];
  entry.cx = ColumnWidth(column);
  entry.pszText = title.data();
  entry.iSubItem = column;
  SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
}

void CCameraView::ApplyShellSettings() {
  SHELLFLAGSTATE state{};
  const unique_module shell(LoadLibraryA("shell32.dll"));
  using GetSettings = void(WINAPI *)(SHELLFLAGSTATE *, DWORD);
  if (const auto getSettings = shell ? reinterpret_cast<GetSettings>(reinterpret_cast<void *>(
                                           GetProcAddress(shell.get(), "SHGetSettings")))
                                     : nullptr)
    getSettings(&state, SSF_SHOWATTRIBCOL | SSF_SHOWEXTENSIONS | SSF_WIN95CLASSIC | SSF_DOUBLECLICKINWEBVIEW |
                            SSF_DONTPRETTYPATH);
  showAttributes_ = state.fShowAttribCol;
  showExtensions_ = state.fShowExtensions;
  if (ShellVersion() > ShellVersionOf(4, 70) && CommonControlsVersion() > ShellVersionOf(4, 70)) {
    DWORD extended = LVS_EX_INFOTIP | LVS_EX_HEADERDRAGDROP;
    if (!state.fDoubleClickInWebView && !state.fWin95Classic)
      extended |= LVS_EX_ONECLICKACTIVATE | LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT;
    ListView_SetExtendedListViewStyle(list_, extended);
  }
  ListView_DeleteColumn(list_, 4);
  if (showAttributes_) InsertColumn(4);
}

HRESULT CCameraView::Refill() {
  if (!list_) return E_UNEXPECTED;
  ListView_DeleteAllItems(list_);
  totalSize_ = 0;
  freeSpace_ = 0;
  fileTypes_ = FileTypes();
  if (!path_.empty()) {
    HZLXCAMERA camera = nullptr;
    // Without a camera the refill ends here: the enumeration would only
    // try to open it again and tell the same failure a second time.
    if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
    DWORD free = 0;
    if (ZlxSucceeded(ZlxGetDriveFree(camera, static_cast<BYTE>(path_[0] - '0'), &free))) freeSpace_ = free;
  }
  ApplyShellSettings();
  if (path_.empty()) {
    ListView_SetImageList(list_, largeIcons_, LVSIL_NORMAL);
    ListView_SetImageList(list_, smallIcons_, LVSIL_SMALL);
  } else {
    SHFILEINFOA info{};
    const auto large = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    const auto small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ListView_SetImageList(list_, large, LVSIL_NORMAL);
    ListView_SetImageList(list_, small, LVSIL_SMALL);
  }
  SetViewMode(viewMode_);

  ComPtr<IEnumIDList> items;
  const HRESULT hr = folder_->EnumObjects(parent_, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items);
  if (FAILED(hr)) return hr;
  // The list draws once, when it is whole and sorted.
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  if (hr == S_OK && items) {
    for (;;) {
      PITEMID_CHILD child = nullptr;
      if (items->Next(1, &child, nullptr) != S_OK) break;
      const unique_cotaskmem owned(child);
      if (dialogBrowser_) {
        // A file dialog decides what it shows; it is offered the item as a
        // transfer copy, which counts as part of the file system.
        std::vector<uint8_t> offered = CopyOfList(child);
        if (offered.size() > offsetof(CameraItem, transferFlag)) offered[offsetof(CameraItem, transferFlag)] = 1;
        if (dialogBrowser_->IncludeObject(shellView_,
                                          reinterpret_cast<PCUITEMID_CHILD>(offered.data())) != S_OK)
          continue;
      }
      AddItem(child);
    }
  }
  Sort(kSortName);
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  UpdateStatus();
  return S_OK;
}

bool CCameraView::AddItem(PCUITEMID_CHILD child) {
  const auto item = LastCameraItem(child);
  if (!item) return false;
  // The display name the shell would give for the item's absolute list:
  // asked of this folder directly, not through a bind from the desktop
  // down to it for every item.
  STRRET displayName{};
  char text[MAX_PATH];
  if (FAILED(folder_->GetDisplayNameOf(child, SHGDN_NORMAL, &displayName)) ||
      FAILED(StrRetToBufA(&displayName, child, text, sizeof text)))
    return false;
  const std::string name = ListedName(text, showExtensions_);
  const int image = path_.empty() ? 0 : fileTypes_.IconIndex(*item);
  // The list owns a copy of the item's list and frees it with the row.
  const std::vector<uint8_t> single = SingleItemList(*item);
  LPITEMIDLIST data = ToShellList(single);
  if (!data) return false;
  LVITEMA row{};
  row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  row.iItem = ListView_GetItemCount(list_);
  row.pszText = const_cast<char *>(name.c_str());
  row.iImage = image;
  row.lParam = reinterpret_cast<LPARAM>(data);
  const int index = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
  if (index < 0) {
    CoTaskMemFree(data);
    return false;
  }
  if (item->kind == kFileItem) totalSize_ += item->size;
  const std::string texts[] = {SizeColumnText(*item), fileTypes_.TypeName(*item), ModifiedText(*item),
                               AttributeColumnText(item->attributes)};
  for (int column = 1; column <= (showAttributes_ ? 4 : 3); ++column) {
    LVITEMA cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<char *>(texts[column - 1].c_str());
    SendMessageA(list_, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&cell));
  }
  return true;
}

void CCameraView::Sort(uint32_t sortValue) {
  sort_ = sortValue;
  if (list_) ListView_SortItems(list_, CompareItems, reinterpret_cast<LPARAM>(this));
}

int CALLBACK CCameraView::CompareItems(LPARAM first, LPARAM second, LPARAM context) {
  auto *view = reinterpret_cast<CCameraView *>(context);
  const auto a = ItemOf(first), b = ItemOf(second);
  if (!a || !b) return 0;
  return CompareForView(view->sort_, view->path_.empty(), *a, *b, lstrcmpiA, [&] {
    return lstrcmpA(view->fileTypes_.TypeName(*a).c_str(), view->fileTypes_.TypeName(*b).c_str());
  });
}

void CCameraView::SetStatusText(int part, const std::wstring &text) {
  if (!browser_) return;
  LRESULT result = 0;
  browser_->SendControlMsg(FCW_STATUS, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()), &result);
}

void CCameraView::UpdateStatus() {
  if (!list_) return;
  const int selected = ListView_GetSelectedCount(list_);
  if (selected > 0) {
    uint64_t size = 0;
    for (int i = -1; (i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) >= 0;) {
      LVITEMA row{};
      row.mask = LVIF_PARAM;
      row.iItem = i;
      if (ListView_GetItem(list_, &row))
        if (const auto item = ItemOf(row.lParam)) size += item->size;
    }
    SetStatusText(0, FormatModuleText(IDS_STATUS_SELECTED, L"%d", {std::to_wstring(selected)}));
    SetStatusText(1, FormatModuleText(IDS_STATUS_SELECTED + 2, L"%s", {SizeText(size)}));
  } else {
    SetStatusText(0, FormatModuleText(IDS_STATUS_SELECTED + 1, L"%d", {std::to_wstring(ListView_GetItemCount(list_))}));
    SetStatusText(1, FormatModuleText(IDS_STATUS_SELECTED + 3, L"%s (%s)", {SizeText(totalSize_), SizeText(freeSpace_)}));
  }
}

}  // namespace camfolder
