#include "menus/send_to_menu.h"

#include <shellapi.h>

#include "items/module_state.h"
#include "resource_ids.h"
#include "transfer/clipboard_formats.h"

namespace camfolder {

namespace {

// The data object fetches its local copies once the drop is made
// ("InShellDragLoop" 0).
HRESULT MarkDropped(IDataObject *data) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD));
  if (!block) return E_OUTOFMEMORY;
  FORMATETC format{Formats().dragLoop, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = block;
  const HRESULT hr = data->SetData(&format, &medium, TRUE);
  if (FAILED(hr)) GlobalFree(block);
  return hr;
}

DWORD HeldKeys() {
  DWORD keys = MK_LBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  return keys;
}

}  // namespace

void SendToMenu::ReadEntries() {
  sendTo_.Reset();
  sendToList_.reset();
  entries_.clear();
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &list))) return;
  sendToList_.reset(list);
  ComPtr<IShellFolder> desktop;
  ComPtr<IEnumIDList> children;
  if (FAILED(SHGetDesktopFolder(&desktop)) || FAILED(desktop->BindToObject(list, nullptr, IID_PPV_ARGS(&sendTo_))) ||
      sendTo_->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &children) != S_OK)
    return;
  for (;;) {
    LPITEMIDLIST child = nullptr;
    if (children->Next(1, &child, nullptr) != S_OK) break;
    entries_.emplace_back(child);
  }
}

unique_hmenu SendToMenu::Build(UINT firstCommand) {
  ReadEntries();
  unique_hmenu popup(CreatePopupMenu());
  if (!popup) return popup;
  UINT command = firstCommand;
  for (const unique_cotaskmem &entry : entries_) {
    const unique_cotaskmem full(
        ILCombine(static_cast<PCIDLIST_ABSOLUTE>(sendToList_.get()), static_cast<PCUIDLIST_RELATIVE>(entry.get())));
    SHFILEINFOW info{};
    if (!full || !SHGetFileInfoW(static_cast<LPCWSTR>(full.get()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME))
      info.szDisplayName[0] = L'\0';
    AppendMenuW(popup.get(), MF_STRING, command++, info.szDisplayName);
  }
  if (entries_.empty()) {
    wchar_t none[64] = L"(none)";
    LoadStringW(ModuleInstance(), IDS_NONE, none, sizeof none / sizeof none[0]);
    AppendMenuW(popup.get(), MF_STRING | MF_GRAYED | MF_DISABLED, firstCommand, none);
  }
  return popup;
}

HRESULT SendToMenu::Send(HWND owner, IShellFolder *folder, const std::vector<std::vector<uint8_t>> &items,
                         size_t entry) const {
  if (!folder || !sendTo_ || entry >= entries_.size()) return E_INVALIDARG;
  const DWORD keys = HeldKeys();
  for (const std::vector<uint8_t> &item : items) {
    PCUITEMID_CHILD child = reinterpret_cast<PCUITEMID_CHILD>(item.data());
    PCUITEMID_CHILD target = static_cast<PCUITEMID_CHILD>(entries_[entry].get());
    ComPtr<IDataObject> data;
    ComPtr<IDropTarget> drop;
    if (HRESULT hr = folder->GetUIObjectOf(owner, 1, &child, IID_IDataObject, nullptr, &data); FAILED(hr)) return hr;
    if (HRESULT hr = MarkDropped(data.Get()); FAILED(hr)) return hr;
    if (HRESULT hr = sendTo_->GetUIObjectOf(owner, 1, &target, IID_IDropTarget, nullptr, &drop); FAILED(hr))
      return hr;
    constexpr POINTL kPoint{0, 0};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    if (HRESULT hr = drop->DragEnter(data.Get(), keys, kPoint, &effect); FAILED(hr)) return hr;
    // A target that takes nothing is left as a drag that went elsewhere.
    if (effect == DROPEFFECT_NONE) {
      drop->DragLeave();
      continue;
    }
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    if (HRESULT hr = drop->Drop(data.Get(), keys, kPoint, &effect); FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace camfolder
