#include "shell_folder_tree.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <vector>

#include "list_file_name.h"
#include "shared/winfx/win_app.h"
#include "windows_text.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr SHCONTF kEnumerateAll = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

unique_pidl Combine(const ITEMIDLIST *parent, const ITEMIDLIST *relative) {
  return unique_pidl(parent ? ILCombine(parent, relative) : ILClone(relative));
}

std::string DisplayName(IShellFolder *folder, const ITEMIDLIST *relative) {
  STRRET name{};
  char text[MAX_PATH] = "";
  if (FAILED(folder->GetDisplayNameOf(relative, SHGDN_NORMAL, &name)) ||
      FAILED(StrRetToBufA(&name, relative, text, sizeof text))) {
    return {};
  }
  return text;
}

int IconIndex(const ITEMIDLIST *absolute, UINT flags) {
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<const char *>(absolute), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags);
  return info.iIcon;
}

size_t FindFirstBackslash(std::string_view text, const TextLocale &locale) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (locale.isLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == '\\') {
      return i;
    }
  }
  return std::string_view::npos;
}

std::string Upper(std::string text) {
  CharUpperBuffA(text.data(), DWORD(text.size()));
  return text;
}

std::string HexMessage(const char *format, HRESULT hr) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<unsigned long>(hr));
  return text;
}

}  // namespace

void CShellFolderTree::Attach(HWND dialog, int id) {
  dialog_ = dialog;
  tree_ = GetDlgItem(dialog, id);
}

void CShellFolderTree::SetSystemImageList() {
  SHFILEINFOA info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) TreeView_SetImageList(tree_, images, TVSIL_NORMAL);
}

CShellFolderTree::ItemRecord *CShellFolderTree::RecordOf(HTREEITEM item) const {
  TVITEMA data{};
  data.mask = TVIF_HANDLE | TVIF_PARAM;
  data.hItem = item;
  if (!item || !TreeView_GetItem(tree_, &data)) return nullptr;
  auto found = records_.find(reinterpret_cast<const ItemRecord *>(data.lParam));
  return found == records_.end() ? nullptr : found->second.get();
}

void CShellFolderTree::Fill() {
  TreeView_DeleteAllItems(tree_);
  ComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(&desktop))) return;
  InsertChildren(TVI_ROOT, desktop.Get(), nullptr);
  HTREEITEM root = TreeView_GetRoot(tree_);
  if (!root) return;
  TreeView_Expand(tree_, root, TVE_EXPAND);
  TreeView_SelectItem(tree_, root);
}

void CShellFolderTree::InsertChildren(HTREEITEM item, IShellFolder *folder, const ITEMIDLIST *folderAbsolute) {
  const bool rootLevel = item == TVI_ROOT;
  unique_pidl myComputer;
  if (rootLevel && FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, myComputer.put()))) return;
  ComPtr<IEnumIDList> children;
  if (folder->EnumObjects(dialog_, kEnumerateAll, &children) != S_OK || !children) return;

  ITEMIDLIST *next = nullptr;
  while (children->Next(1, &next, nullptr) == S_OK) {
    unique_pidl relative(next);
    const ITEMIDLIST *child = relative.get();
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    if (FAILED(folder->GetAttributesOf(1, &child, &attributes))) continue;
    if (rootLevel ? HRESULT_CODE(folder->CompareIDs(0, child, myComputer.get())) != 0
                  : !(attributes & SFGAO_FOLDER)) {
      continue;
    }
    unique_pidl absolute = Combine(folderAbsolute, child);
    char path[MAX_PATH];
    if (!absolute || (!rootLevel && !SHGetPathFromIDListA(absolute.get(), path))) continue;  // virtual folders

    std::string text = DisplayName(folder, child);
    auto record = std::make_unique<ItemRecord>();
    record->parent = folder;
    record->relative = std::move(relative);
    record->absolute = std::move(absolute);

    TVINSERTSTRUCTA insert{};
    insert.hParent = item;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = text.data();
    insert.item.iImage = IconIndex(record->absolute.get(), 0);
    insert.item.iSelectedImage = IconIndex(record->absolute.get(), SHGFI_OPENICON);
    insert.item.lParam = reinterpret_cast<LPARAM>(record.get());
    insert.item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
    const ItemRecord *key = record.get();
    records_.emplace(key, std::move(record));
    if (!TreeView_InsertItem(tree_, &insert)) records_.erase(key);
  }

  TVSORTCB sort{item, CompareItems, reinterpret_cast<LPARAM>(folder)};
  TreeView_SortChildrenCB(tree_, &sort, 0);
}

int CALLBACK CShellFolderTree::CompareItems(LPARAM first, LPARAM second, LPARAM folder) {
  const auto *a = reinterpret_cast<const ItemRecord *>(first);
  const auto *b = reinterpret_cast<const ItemRecord *>(second);
  const HRESULT hr = reinterpret_cast<IShellFolder *>(folder)->CompareIDs(0, a->relative.get(), b->relative.get());
  return FAILED(hr) ? 0 : static_cast<short>(HRESULT_CODE(hr));  // a failed comparison is equality
}

void CShellFolderTree::ExpandOnce(HTREEITEM item) {
  ItemRecord *record = RecordOf(item);
  if (!record) return;
  ComPtr<IShellFolder> folder;
  if (FAILED(record->parent->BindToObject(record->relative.get(), nullptr, IID_PPV_ARGS(&folder)))) return;
  InsertChildren(item, folder.Get(), record->absolute.get());
}

void CShellFolderTree::OnItemExpanding(const NMTREEVIEWA &notify) {
  const HTREEITEM item = notify.itemNew.hItem;
  if (TreeView_GetItemState(tree_, item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) return;
  ExpandOnce(item);
}

bool CShellFolderTree::OnSelChanged(const NMTREEVIEWA &notify, std::string &path) {
  path.clear();
  const HTREEITEM item = notify.itemNew.hItem;
  TVITEMA data{};
  data.mask = TVIF_HANDLE | TVIF_CHILDREN | TVIF_STATE;
  data.hItem = item;
  data.stateMask = TVIS_EXPANDEDONCE;
  if (!item || !TreeView_GetItem(tree_, &data)) return false;
  if (data.cChildren != 0 && !(data.state & TVIS_EXPANDEDONCE)) {
    ExpandOnce(item);
    TVITEMA once{};
    once.mask = TVIF_HANDLE | TVIF_STATE;
    once.hItem = item;
    once.state = once.stateMask = TVIS_EXPANDEDONCE;
    TreeView_SetItem(tree_, &once);
  }
  path = PathOf(item);
  return !path.empty();
}

void CShellFolderTree::OnItemDeleted(const NMTREEVIEWA &notify) {
  records_.erase(reinterpret_cast<const ItemRecord *>(notify.itemOld.lParam));
}

void CShellFolderTree::OnRightClick() {
  POINT screen{};
  GetCursorPos(&screen);
  TVHITTESTINFO hit{};
  hit.pt = screen;
  ScreenToClient(tree_, &hit.pt);
  HTREEITEM item = TreeView_HitTest(tree_, &hit);
  if (!item) return;
  TreeView_SelectItem(tree_, item);
  if (!(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return;
  if (ItemRecord *record = RecordOf(item)) ShowContextMenu(*record, screen);
}

void CShellFolderTree::ShowContextMenu(ItemRecord &record, POINT screen) {
  ComPtr<IContextMenu> menu;
  const ITEMIDLIST *child = record.relative.get();
  HRESULT hr = record.parent->GetUIObjectOf(dialog_, 1, &child, IID_IContextMenu, nullptr,
                                            reinterpret_cast<void **>(menu.GetAddressOf()));
  if (FAILED(hr) || !menu) {
    winfx::AppMessageBox(dialog_, HexMessage("GetUIObjectOf failed! hr=%lx", hr));
    return;
  }
  unique_hmenu popup(CreatePopupMenu());
  if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, kFirstCommand, kLastCommand, CMF_EXPLORE))) return;
  const int command = TrackPopupMenu(popup.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x,
                                     screen.y, 0, dialog_, nullptr);
  if (command <= 0) return;
  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof invoke;
  invoke.hwnd = dialog_;
  invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
  invoke.nShow = SW_SHOWNORMAL;
  hr = menu->InvokeCommand(&invoke);
  if (FAILED(hr)) winfx::AppMessageBox(dialog_, HexMessage("InvokeCommand failed. hr=%lx", hr));
}

bool CShellFolderTree::OnNotify(const NMHDR &header, bool &selectionChanged, std::string &path) {
  selectionChanged = false;
  if (header.hwndFrom != tree_) return false;
  const auto &notify = reinterpret_cast<const NMTREEVIEWA &>(header);  // the A and W forms share these fields
  // Every result is 0 (expanding allowed) but the right click's: handled,
  // so that no second context menu follows.
  LRESULT result = FALSE;
  switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
      OnItemExpanding(notify);
      break;
    case NM_RCLICK:
      OnRightClick();
      result = TRUE;
      break;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      OnItemDeleted(notify);
      break;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      selectionChanged = true;
      OnSelChanged(notify, path);
      break;
    default:
      return false;
  }
  // Set once the handler is done: selecting the right-clicked item sends a
  // selection notification of its own, whose result would otherwise stand
  // for the click's.
  SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, result);
  return true;
}

std::string CShellFolderTree::PathOf(HTREEITEM item) const {
  ItemRecord *record = RecordOf(item);
  if (!record) return {};
  const ITEMIDLIST *child = record->relative.get();
  SFGAOF attributes = SFGAO_FILESYSTEM;
  char path[MAX_PATH] = "";
  if (FAILED(record->parent->GetAttributesOf(1, &child, &attributes)) || !(attributes & SFGAO_FILESYSTEM) ||
      !SHGetPathFromIDListA(record->absolute.get(), path)) {
    return {};
  }
  return path;
}

std::string CShellFolderTree::TextOf(HTREEITEM item) const {
  char text[MAX_PATH] = "";
  TVITEMA data{};
  data.mask = TVIF_HANDLE | TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  return TreeView_GetItem(tree_, &data) ? std::string(text) : std::string();
}

void CShellFolderTree::SelectVisible(HTREEITEM item) {
  TreeView_EnsureVisible(tree_, item);
  TreeView_SelectItem(tree_, item);
}

void CShellFolderTree::SelectPath(const std::string &path) {
  const TextLocale locale = SystemTextLocale();
  std::string folder = path;
  if (EndsWithBackslash(folder, locale)) folder.pop_back();
  // A drive root is tested with its backslash; a file is no folder.
  const bool driveOnly = folder.size() == 2 && folder[1] == ':';
  const DWORD attributes = GetFileAttributesA((driveOnly ? folder + "\\" : folder).c_str());
  if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    MessageBoxA(dialog_, folder.c_str(), "Folder not found", MB_OK | MB_ICONSTOP);
    return;
  }
  folder += '\\';
  const std::string drive = folder.size() >= 2 && folder[1] == ':' ? folder.substr(0, 2) : std::string();

  HTREEITEM current = nullptr;
  for (HTREEITEM c = TreeView_GetChild(tree_, TreeView_GetRoot(tree_)); c && !drive.empty();
       c = TreeView_GetNextSibling(tree_, c)) {
    if (Upper(PathOf(c).substr(0, 2)) == Upper(drive)) {
      current = c;
      break;
    }
  }
  if (!current) return;
  SelectVisible(current);

  std::string_view rest = std::string_view(folder).substr(drive.size());
  while (!rest.empty()) {
    const size_t end = FindFirstBackslash(rest, locale);
    const std::string component(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (component.empty()) continue;
    HTREEITEM match = nullptr;
    for (HTREEITEM c = TreeView_GetChild(tree_, current); c; c = TreeView_GetNextSibling(tree_, c)) {
      if (Upper(TextOf(c)) == Upper(component)) {
        match = c;
        break;
      }
    }
    if (!match) return;
    SelectVisible(match);
    current = match;
  }
}
