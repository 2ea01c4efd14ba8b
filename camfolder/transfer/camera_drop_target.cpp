#include "transfer/camera_drop_target.h"

#include <commctrl.h>

#include <cstring>
#include <optional>
#include <span>

#include "core/camera_messages.h"
#include "core/camera_path.h"
#include "core/shell_blocks.h"
#include "core/transfer_rules.h"
#include "export_guard.h"
#include "items/camera_connection.h"
#include "items/camera_error.h"
#include "resource_ids.h"
#include "transfer/clipboard_formats.h"
#include "transfer/transfer_copy.h"
#include "transfer/transfer_receive.h"
#include "transfer/transfer_send.h"

namespace camfolder {

namespace {

// The paths of a DROPFILES block the data object holds in this format, in
// the ANSI code page; nullopt when it has none or the block is malformed.
std::optional<std::vector<std::string>> DroppedPathsOf(IDataObject *data, CLIPFORMAT format) {
  FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&wanted, &medium))) return std::nullopt;
  std::optional<std::vector<std::string>> result;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const global_lock bytes(medium.hGlobal);
    if (bytes) {
      const std::span<const uint8_t> block(static_cast<const uint8_t *>(bytes.get()), GlobalSize(medium.hGlobal));
      if (auto paths = ReadDropFiles(block)) {
        if (!paths->wide) {
          result = std::move(paths->ansi);
        } else {
          result.emplace();
          for (const std::u16string &path : paths->unicode) {
            std::wstring wide(path.begin(), path.end());
            const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string ansi(length > 0 ? static_cast<size_t>(length) : 1, '\0');
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), length, nullptr, nullptr);
            ansi.resize(strlen(ansi.c_str()));
            result->push_back(std::move(ansi));
          }
        }
      }
    }
  }
  ReleaseStgMedium(&medium);
  return result;
}

bool IsDirectory(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

HRESULT CCameraDropTarget::Create(const std::string &target, IShellFolder *folder, HWND owner, HWND list,
                                  REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    ComPtr<CCameraDropTarget> drop = AdoptCom(new CCameraDropTarget);
    drop->target_ = target;
    drop->folder_ = folder;
    drop->owner_ = owner;
    drop->list_ = list;
    drop->scrollInset_ = GetProfileIntA("windows", "DragScrollInset", 11);
    drop->scrollDelay_ = GetProfileIntA("windows", "DragScrollDelay", 50);
    return drop->QueryInterface(interfaceId, object);
  });
}

STDMETHODIMP CCameraDropTarget::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IDropTarget)) {
    *object = static_cast<IDropTarget *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CCameraDropTarget::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CCameraDropTarget::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

void CCameraDropTarget::LeaveItem() {
  if (list_ && highlighted_ >= 0) ListView_SetItemState(list_, highlighted_, 0, LVIS_DROPHILITED);
  highlighted_ = -1;
  if (inner_) inner_->DragLeave();
  inner_.Reset();
}

void CCameraDropTarget::Clear() {
  LeaveItem();
  data_.Reset();
  droppable_ = internal_ = moveAllowed_ = false;
}

DWORD CCameraDropTarget::AutoScroll(POINT client) {
  if (ListView_GetItemCount(list_) == 0) return 0;
  const DWORD view = GetWindowLongA(list_, GWL_STYLE) & LVS_TYPEMASK;
  const int across = view == LVS_ICON ? 32 : view == LVS_LIST ? 1 : 16;
  const int down = view == LVS_ICON ? 32 : 16;
  RECT area;
  GetClientRect(list_, &area);
  const int inset = static_cast<int>(scrollInset_);
  int dx = 0, dy = 0;
  if (client.x < area.left + inset) dx = -across;
  if (client.x >= area.right - inset) dx = across;
  if (client.y < area.top + inset) dy = -down;
  if (client.y >= area.bottom - inset) dy = down;
  if (dx == 0 && dy == 0) return 0;
  const DWORD now = GetTickCount();
  if (now - lastScroll_ >= scrollDelay_) {
    ListView_Scroll(list_, dx, dy);
    lastScroll_ = now;
  }
  return DROPEFFECT_SCROLL;
}

bool CCameraDropTarget::OverItem(DWORD keyState, POINTL point, DWORD allowed, DWORD &effect) {
  POINT client{point.x, point.y};
  ScreenToClient(list_, &client);
  const DWORD scroll = AutoScroll(client);
  LVHITTESTINFO hit{};
  hit.pt = client;
  const int item = ListView_HitTest(list_, &hit);
  const int under = item >= 0 && (hit.flags & LVHT_ONITEM) ? item : -1;
  if (under == highlighted_ && inner_) {
    effect = allowed | scroll;
    return true;
  }
  if (under != highlighted_) LeaveItem();
  effect = scroll;
  if (under < 0 || !folder_) return false;
  LVITEMA entry{};
  entry.mask = LVIF_PARAM;
  entry.iItem = under;
  if (!ListView_GetItem(list_, &entry) || !entry.lParam) return false;
  PCUITEMID_CHILD child = reinterpret_cast<PCUITEMID_CHILD>(entry.lParam);
  SFGAOF attributes = SFGAO_DROPTARGET;
  ComPtr<IDropTarget> inner;
  if (FAILED(folder_->GetAttributesOf(1, &child, &attributes)) || !(attributes & SFGAO_DROPTARGET) ||
      FAILED(folder_->GetUIObjectOf(owner_, 1, &child, IID_IDropTarget, nullptr, &inner)))
    return false;
  highlighted_ = under;
  ListView_SetItemState(list_, under, LVIS_DROPHILITED, LVIS_DROPHILITED);
  inner_ = inner;
  DWORD innerEffect = allowed;
  inner_->DragEnter(data_.Get(), keyState, point, &innerEffect);
  effect = (innerEffect & allowed) | scroll;
  return true;
}

DWORD CCameraDropTarget::Effect(DWORD keyState, POINTL point, DWORD allowed) {
  DWORD scroll = 0;
  if (list_) {
    DWORD effect = 0;
    if (OverItem(keyState, point, allowed, effect)) return effect;
    scroll = effect;
  }
  return ChooseDropEffect(droppable_, keyState, moveAllowed_, defaultEffect_, allowed) | scroll;
}

STDMETHODIMP CCameraDropTarget::DragEnter(IDataObject *data, DWORD keyState, POINTL point, DWORD *effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  Clear();
  if (!data) return E_INVALIDARG;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (const auto cameraPaths = DroppedPathsOf(data, Formats().cameraPaths)) {
      defaultEffect_ = CameraDropDefault(*cameraPaths, target_);
      droppable_ = defaultEffect_ != 0;
      internal_ = moveAllowed_ = true;
    } else {
      const auto files = DroppedPathsOf(data, CF_HDROP);
      if (!files || files->empty()) return S_OK;
      const bool pictures = IsDcfFolder(target_.c_str());
      for (const std::string &file : *files)
        if (file.empty() || (pictures && !IsKnownCameraFileType(file))) return S_OK;
      defaultEffect_ = DROPEFFECT_COPY;
      droppable_ = true;
    }
    data_ = data;
    keyState_ = keyState;
    *effect = Effect(keyState, point, allowed);
    return S_OK;
  });
}

STDMETHODIMP CCameraDropTarget::DragOver(DWORD keyState, POINTL point, DWORD *effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = *effect;
  keyState_ &= keyState;
  *effect = data_ ? Effect(keyState, point, allowed) : DROPEFFECT_NONE;
  if (inner_) {
    DWORD innerEffect = allowed;
    inner_->DragOver(keyState, point, &innerEffect);
  }
  return S_OK;
}

STDMETHODIMP CCameraDropTarget::DragLeave() {
  Clear();
  return S_OK;
}

DWORD CCameraDropTarget::AskRightDrop(POINTL point, DWORD effect) {
  if (effect != DROPEFFECT_COPY && effect != DROPEFFECT_MOVE) return effect;
  const unique_hmenu menu(LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDM_DROP_MENU)));
  HMENU choices = menu ? GetSubMenu(menu.get(), 0) : nullptr;
  if (!choices) return DROPEFFECT_NONE;
  if (!moveAllowed_) DeleteMenu(choices, IDM_MOVE_HERE, MF_BYCOMMAND);
  const bool move = effect == DROPEFFECT_MOVE && moveAllowed_;
  SetMenuDefaultItem(choices, move ? IDM_MOVE_HERE : IDM_COPY_HERE, FALSE);
  const HWND previous = GetForegroundWindow();
  SetForegroundWindow(owner_);
  const int chosen = static_cast<int>(TrackPopupMenu(choices, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                     point.x, point.y, 0, owner_, nullptr));
  if (chosen == IDM_MOVE_HERE) return DROPEFFECT_MOVE;
  if (chosen == IDM_COPY_HERE) return DROPEFFECT_COPY;
  SetForegroundWindow(previous);
  return DROPEFFECT_NONE;
}

HRESULT CCameraDropTarget::DropCameraItems(DWORD &effect) {
  const auto paths = DroppedPathsOf(data_.Get(), Formats().cameraPaths);
  // The paths are checked again here: the drop may carry other data than
  // the drag that entered.
  if (!paths || CameraDropDefault(*paths, target_) == 0) {
    effect = DROPEFFECT_NONE;
    return S_OK;
  }
  HZLXCAMERA camera = nullptr;
  if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
  const bool move = effect == DROPEFFECT_MOVE && moveAllowed_;
  SendChoices choices;
  std::vector<std::string> notMoved;
  HRESULT result = S_OK;
  bool kept = false;  // a move that left a source where it was
  const DWORD total = static_cast<DWORD>(paths->size());
  for (DWORD i = 0; i < total; ++i) {
    choices.answer = kAnswerGoOn;
    const HRESULT hr = CopyCameraItem(camera, (*paths)[i], target_, move, owner_, i + 1, total, choices, notMoved);
    if (FAILED(hr)) {
      result = E_UNEXPECTED;
      break;
    }
    if (hr != S_OK) kept = true;
    if (NormalisedCopyAnswer(choices.answer) == kAnswerStop) {
      kept = kept || i + 1 < total;
      break;
    }
  }
  if (!notMoved.empty()) ShowCameraMessage(owner_, kNotMovedMessage, notMoved);
  if (move && kept) effect = DROPEFFECT_COPY;
  return result;
}

HRESULT CCameraDropTarget::DropFiles(DWORD &effect) {
  const auto files = DroppedPathsOf(data_.Get(), CF_HDROP);
  if (!files) return E_UNEXPECTED;
  const bool move = effect == DROPEFFECT_MOVE;
  SendChoices choices;
  std::vector<std::string> converted, notMoved;
  bool skippedFolder = false;
  bool kept = false;  // a move that left a PC file where it was
  HRESULT result = S_OK;
  const DWORD total = static_cast<DWORD>(files->size());
  for (DWORD i = 0; i < total; ++i) {
    const std::string &file = (*files)[i];
    if (IsDirectory(file)) {
      skippedFolder = kept = true;
      continue;
    }
    const tagZLXPROGRESSPARAM progress{WindowTo32(owner_), i + 1, total};
    MoveOutcome outcome = MoveOutcome::kStays;
    const HRESULT hr = SendFile(nullptr, file.c_str(), target_.c_str(), kTransferWithProgress, progress, move,
                                choices, &outcome);
    if (outcome == MoveOutcome::kKeptConverted) converted.push_back(file);
    if (outcome == MoveOutcome::kNotVerified) notMoved.push_back(file);
    if (outcome != MoveOutcome::kMoved) kept = true;
    if (FAILED(hr)) {
      result = E_UNEXPECTED;
      break;
    }
    if (choices.answer == kAnswerStop || choices.answer == kAnswerCancel) {
      kept = true;
      break;
    }
    choices.answer = kAnswerGoOn;
  }
  if (skippedFolder) ShowCameraError(owner_, kFolderNotSentMessage);
  if (!notMoved.empty()) ShowCameraMessage(owner_, kNotMovedMessage, notMoved);
  if (move && !converted.empty()) ShowCameraMessage(owner_, kConvertedKeptMessage, converted);
  // A drop source that is told "moved" deletes its files: only when all went.
  if (move && kept) effect = DROPEFFECT_COPY;
  return result;
}

STDMETHODIMP CCameraDropTarget::Drop(IDataObject *data, DWORD keyState, POINTL point, DWORD *effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  if (!data_ || !data) {
    Clear();
    return S_OK;
  }
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    DWORD chosen = Effect(keyState, point, allowed) & ~DROPEFFECT_SCROLL;
    if (chosen == DROPEFFECT_NONE) {
      Clear();
      return S_OK;
    }
    if (inner_) {
      const ComPtr<IDropTarget> inner = inner_;
      inner_.Reset();
      DWORD innerEffect = allowed;
      const HRESULT hr = inner->Drop(data, keyState, point, &innerEffect);
      Clear();
      *effect = innerEffect;
      return hr;
    }
    if ((keyState_ & MK_RBUTTON) && !(keyState & MK_RBUTTON)) chosen = AskRightDrop(point, chosen);
    HRESULT hr = S_OK;
    if (chosen != DROPEFFECT_NONE) hr = internal_ ? DropCameraItems(chosen) : DropFiles(chosen);
    if (const HWND parent = owner_ ? GetParent(owner_) : nullptr) {
      SetForegroundWindow(parent);
      SendMessageA(parent, WM_KEYDOWN, VK_F5, 1);
    }
    Clear();
    *effect = SUCCEEDED(hr) ? chosen : DROPEFFECT_NONE;
    return SUCCEEDED(hr) ? S_OK : E_UNEXPECTED;
  });
}

}  // namespace camfolder
