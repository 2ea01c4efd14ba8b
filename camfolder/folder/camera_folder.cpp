#include "folder/camera_folder.h"

#include <cstring>
#include <new>

#include "core/camera_messages.h"
#include "core/item_names.h"
#include "export_guard.h"
#include "folder/item_enum.h"
#include "folder/item_icon.h"
#include "items/camera_connection.h"
#include "items/camera_error.h"
#include "items/shell_item_list.h"
#include "items/working_folder.h"
#include "menus/item_menu.h"
#include "transfer/camera_drop_target.h"
#include "transfer/fetched_copy.h"
#include "transfer/item_data_object.h"
#include "transfer/transfer_receive.h"
#include "view/view_factory.h"

namespace camfolder {

namespace {

// Attributes the folder always answers, whatever the caller asked.
constexpr SFGAOF kAlwaysAnswered =
    SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET;
constexpr SFGAOF kDriveStart = SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_DROPTARGET | SFGAO_HASPROPSHEET;
constexpr SFGAOF kEntryStart = kDriveStart | SFGAO_CANDELETE | SFGAO_CANRENAME | SFGAO_CANMOVE | SFGAO_CANCOPY;
// Items handed out for a selection count as part of the file system.
constexpr SFGAOF kTransferAdds = SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
// A file is no folder, has none and takes no drops.
constexpr SFGAOF kFileKeeps = ~(SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET);
static_assert(kAlwaysAnswered == 0xF0000100 && kDriveStart == 0xA0000140 && kEntryStart == 0xA0000173);
static_assert(kFileKeeps == 0x4FFFFEFF);

constexpr DWORD kRenameOptions = 1;

HRESULT CompareResult(int order) { return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(order)); }

void SetCString(STRRET &name, const std::string &text) {
  name.uType = STRRET_CSTR;
  lstrcpynA(name.cStr, text.c_str(), sizeof name.cStr);
}

// Every item of an array from the shell, each its last camera item.
std::optional<std::vector<CameraItem>> ItemsOf(UINT count, PCUITEMID_CHILD_ARRAY items) {
  std::vector<CameraItem> result;
  if (count > 0 && !items) return std::nullopt;
  for (UINT i = 0; i < count; ++i) {
    const auto item = LastCameraItem(items[i]);
    if (!item) return std::nullopt;
    result.push_back(*item);
  }
  return result;
}

}  // namespace

HRESULT CCameraFolder::Create(REFCLSID classId, REFIID interfaceId, void **object) {
  auto *folder = new (std::nothrow) CCameraFolder(classId);
  if (!folder) return E_OUTOFMEMORY;
  const HRESULT hr = folder->QueryInterface(interfaceId, object);
  folder->Release();
  return hr;
}

STDMETHODIMP CCameraFolder::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IShellFolder)) {
    *object = static_cast<IShellFolder *>(this);
  } else if (IsEqualIID(interfaceId, IID_IPersist) || IsEqualIID(interfaceId, IID_IPersistFolder) ||
             IsEqualIID(interfaceId, IID_IPersistFolder2)) {
    *object = static_cast<IPersistFolder2 *>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CCameraFolder::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CCameraFolder::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CCameraFolder::GetClassID(CLSID *classId) {
  if (!classId) return E_INVALIDARG;
  *classId = classId_;
  return S_OK;
}

STDMETHODIMP CCameraFolder::Initialize(PCIDLIST_ABSOLUTE list) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (!list) return E_INVALIDARG;
    const ItemListBytes bytes = ShellListBytes(list);
    const auto size = ListSize(bytes);
    if (!size) return E_INVALIDARG;
    const auto split = SplitFolderList(bytes.first(*size));
    if (!split) return E_INVALIDARG;
    list_.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(*size));
    path_ = split->items.empty() ? std::string() : std::string(split->items.back().path);
    kind_ = PathKindOf(path_.c_str());
    return S_OK;
  });
}

STDMETHODIMP CCameraFolder::GetCurFolder(PIDLIST_ABSOLUTE *list) {
  if (!list) return E_INVALIDARG;
  *list = nullptr;
  if (list_.empty()) return S_FALSE;
  *list = reinterpret_cast<PIDLIST_ABSOLUTE>(ToShellList(list_));
  return *list ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CCameraFolder::ParseDisplayName(HWND, IBindCtx *, LPWSTR name, ULONG *eaten, PIDLIST_RELATIVE *list,
                                             ULONG *attributes) {
  if (eaten) *eaten = 0;
  if (list) *list = nullptr;
  if (attributes) *attributes = 0;
  if (!name || !list) return E_INVALIDARG;
  return E_NOTIMPL;
}

STDMETHODIMP CCameraFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList **enumerator) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (!enumerator) return E_INVALIDARG;
    *enumerator = nullptr;
    // Only containers have contents; asking a file for them is a caller's slip,
    // not something to trouble the user with.
    if (kind_ != kRootPath && kind_ != kDrivePath && kind_ != kFolderPath) return E_UNEXPECTED;
    return CItemEnum::Create(MessageOwner(), flags, list_, path_, enumerator);
  });
}

STDMETHODIMP CCameraFolder::BindToObject(PCUIDLIST_RELATIVE list, IBindCtx *, REFIID interfaceId, void **object) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    if (!IsEqualIID(interfaceId, IID_IShellFolder)) return E_NOINTERFACE;
    const ItemListBytes bytes = ShellListBytes(list);
    const auto items = CameraItemsOf(bytes);
    if (!items || items->empty()) return E_INVALIDARG;
    const auto full = ConcatLists(list_, bytes);
    if (!full) return E_INVALIDARG;
    ComPtr<IPersistFolder> folder;
    if (const HRESULT hr = Create(classId_, IID_PPV_ARGS(&folder)); FAILED(hr)) return hr;
    if (const HRESULT hr = folder->Initialize(reinterpret_cast<PCIDLIST_ABSOLUTE>(full->data())); FAILED(hr)) return hr;
    return folder->QueryInterface(interfaceId, object);
  });
}

STDMETHODIMP CCameraFolder::BindToStorage(PCUIDLIST_RELATIVE, IBindCtx *, REFIID, void **object) {
  if (object) *object = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CCameraFolder::CompareIDs(LPARAM how, PCUIDLIST_RELATIVE first, PCUIDLIST_RELATIVE second) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (how != 0) return E_NOTIMPL;
    const auto a = ShellCameraItems(first);
    const auto b = ShellCameraItems(second);
    if (!a || !b) return E_INVALIDARG;
    // Level by level: drive paths at the root, names in the folder elsewhere.
    // Comparing never fetches a file: the names come from the items alone.
    const uint32_t flags = AtRoot() ? kNameForParsing : kNameInFolder;
    const std::string working = WorkingFolder();
    for (size_t level = 0; level < a->size() && level < b->size(); ++level) {
      const std::string x = ItemDisplayName((*a)[level], flags, working).value_or("");
      const std::string y = ItemDisplayName((*b)[level], flags, working).value_or("");
      const int order = lstrcmpiA(x.c_str(), y.c_str());
      if (order != 0) return CompareResult(order < 0 ? -1 : 1);
    }
    if (a->size() == b->size()) return CompareResult(0);
    return CompareResult(a->size() < b->size() ? -1 : 1);
  });
}

STDMETHODIMP CCameraFolder::CreateViewObject(HWND, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (!IsEqualIID(interfaceId, IID_IShellView) && !IsEqualIID(interfaceId, IID_IOleWindow) &&
      !IsEqualIID(interfaceId, IID_IUnknown))
    return E_NOINTERFACE;
  return CViewFactory::Create(static_cast<IShellFolder *>(this), list_, path_, interfaceId, object);
}

HRESULT CCameraFolder::DriveAttributes(const std::vector<CameraItem> &items, SFGAOF &value) {
  value = kDriveStart;
  for (const CameraItem &drive : items) {
    if (drive.transferFlag) value |= kTransferAdds;
    HZLXCAMERA camera = nullptr;
    tagZLXDIRINFO info{};
    if (FAILED(GetCamera(camera)) || !CameraCallSucceeded(ZlxGetDirectoryInfo(camera, drive.path, &info)) ||
        info.subdirectories == 0) {
      value &= ~SFGAO_HASSUBFOLDER;
      break;
    }
  }
  return S_OK;
}

HRESULT CCameraFolder::EntryAttributes(const std::vector<CameraItem> &items, SFGAOF &value) {
  value = kEntryStart;
  for (const CameraItem &item : items) {
    if (item.transferFlag) value |= kTransferAdds;
    if (!(item.attributes & ZLX_ATTR_DIRECTORY)) {
      value &= kFileKeeps;
      continue;
    }
    const auto path = ChildPath(path_, item.name, true);
    if (!path) return E_INVALIDARG;
    HZLXCAMERA camera = nullptr;
    if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
    tagZLXDIRINFO info{};
    if (!CameraCallSucceeded(ZlxGetDirectoryInfo(camera, path->c_str(), &info))) return E_UNEXPECTED;
    if (info.subdirectories == 0) value &= ~SFGAO_HASSUBFOLDER;
  }
  return S_OK;
}

STDMETHODIMP CCameraFolder::GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF *attributes) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (!attributes) return E_INVALIDARG;
    if (kind_ != kRootPath && kind_ != kDrivePath && kind_ != kFolderPath) return E_UNEXPECTED;
    const auto chosen = ItemsOf(count, items);
    if (!chosen) return E_INVALIDARG;
    const SFGAOF requested = *attributes | kAlwaysAnswered;
    SFGAOF value = 0;
    const HRESULT hr = AtRoot() ? DriveAttributes(*chosen, value) : EntryAttributes(*chosen, value);
    if (FAILED(hr)) return hr;
    *attributes = value & requested;
    return S_OK;
  });
}

STDMETHODIMP CCameraFolder::GetUIObjectOf(HWND owner, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID interfaceId,
                                          UINT *, void **object) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    if (count == 0 || !items) return E_INVALIDARG;
    if (IsEqualIID(interfaceId, IID_IExtractIconA) || IsEqualIID(interfaceId, IID_IExtractIconW)) {
      if (count != 1) return E_INVALIDARG;
      const auto item = LastCameraItem(items[0]);
      if (!item) return E_INVALIDARG;
      return CItemIcon::Create(*item, interfaceId, object);
    }
    if (IsEqualIID(interfaceId, IID_IContextMenu)) {
      const auto chosen = ItemsOf(count, items);
      if (!chosen) return E_INVALIDARG;
      std::vector<std::vector<uint8_t>> lists;
      for (const CameraItem &item : *chosen) lists.push_back(SingleItemList(item));
      return CItemMenu::Create(static_cast<IShellFolder *>(this), list_, lists, interfaceId, object);
    }
    if (IsEqualIID(interfaceId, IID_IDataObject)) {
      const auto chosen = ItemsOf(count, items);
      if (!chosen) return E_INVALIDARG;
      std::vector<std::vector<uint8_t>> lists;
      for (const CameraItem &item : *chosen) lists.push_back(SingleItemList(item));
      return CItemDataObject::Create(owner, list_, path_, lists, interfaceId, object);
    }
    if (IsEqualIID(interfaceId, IID_IDropTarget)) {
      if (count != 1) return E_INVALIDARG;
      const auto item = LastCameraItem(items[0]);
      // Only drives and folders take drops.
      if (!item || item->kind == kFileItem) return E_INVALIDARG;
      ComPtr<IShellFolder> folder;
      if (const HRESULT hr = BindToObject(items[0], nullptr, IID_PPV_ARGS(&folder)); FAILED(hr)) return hr;
      return CCameraDropTarget::Create(item->path, folder.Get(), owner, nullptr, interfaceId, object);
    }
    return E_NOINTERFACE;
  });
}

STDMETHODIMP CCameraFolder::GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET *name) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (!name) return E_INVALIDARG;
    const auto last = LastCameraItem(item);
    if (!last) return E_INVALIDARG;
    if (last->version != kCameraItemVersion) return E_UNEXPECTED;
    const auto text = ItemDisplayName(*last, flags, ProcessFolder().value_or(WorkingFolder()));
    if (!text) return E_INVALIDARG;
    if (last->kind == kFileItem && IsParsingRequest(flags)) {
      // The shell opens a file by its parsing name: make the local copy real.
      if (flags & SHGDN_INFOLDER) {
        ForgetFetchedCopy();
      } else if (ShellVersion() >= ShellVersionOf(5, 0)) {
        const ProgressCounters &counters = CurrentProgress();
        const tagZLXPROGRESSPARAM progress{WindowTo32(MessageOwner()), counters.current, counters.total};
        if (const HRESULT hr = FetchOpenedCopy(last->path, *text, progress); FAILED(hr)) return hr;
      }
    }
    SetCString(*name, *text);
    return S_OK;
  });
}

STDMETHODIMP CCameraFolder::SetNameOf(HWND owner, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF, PITEMID_CHILD *newItem) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (newItem) *newItem = nullptr;
    const auto items = ShellCameraItems(item);
    if (!items || items->size() != 1 || !name) return E_INVALIDARG;
    const CameraItem &entry = items->front();
    const PathKind kind = PathKindOf(entry.path);
    if (kind != kFolderPath && kind != kFilePath) return E_INVALIDARG;

    char newName[MAX_PATH];
    if (!WideCharToMultiByte(CP_ACP, 0, name, -1, newName, sizeof newName, nullptr, nullptr)) return E_INVALIDARG;
    const std::string current = LastComponent(entry.path);
    if (lstrcmpiA(newName, current.c_str()) == 0) return S_OK;
    const HWND messageOwner = owner ? owner : MessageOwner();
    const bool valid = kind == kFolderPath ? IsValidFolderName(newName) : IsValidFileName(newName);
    if (!valid) {
      ShowCameraError(messageOwner, ZLX_E_INVALID_NAME);
      return E_FAIL;
    }
    HZLXCAMERA camera = nullptr;
    if (const HRESULT hr = GetCamera(camera); FAILED(hr)) return hr;
    const ZLXRESULT result = kind == kFolderPath ? ZlxRenameDirectory(camera, entry.path, newName, kRenameOptions)
                                                 : ZlxRenameFile(camera, entry.path, newName, kRenameOptions);
    if (!ZlxSucceeded(result)) {
      ShowCameraError(messageOwner, result);
      CheckConnection(result);
      return E_FAIL;
    }
    // A local copy fetched under the old name no longer stands for that name.
    ForgetFetchedAt(entry.path);
    if (owner) {
      SetForegroundWindow(owner);
      PostMessageA(owner, WM_KEYDOWN, VK_F5, 1);
    }
    return S_OK;
  });
}

}  // namespace camfolder
