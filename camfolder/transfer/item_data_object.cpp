#include "transfer/item_data_object.h"

#include <shlobj.h>

#include <cstring>

#include "core/camera_path.h"
#include "core/item_list.h"
#include "core/item_names.h"
#include "core/local_names.h"
#include "core/shell_blocks.h"
#include "export_guard.h"
#include "items/working_folder.h"
#include "transfer/clipboard_formats.h"
#include "transfer/format_enum.h"
#include "transfer/transfer_receive.h"
#include "win_raii.h"

namespace camfolder {

namespace {

bool IsCameraFormat(CLIPFORMAT format) {
  const ClipboardFormats &f = Formats();
  return format == f.cameraPaths || format == f.dragLoop || format == f.preferredEffect ||
         format == f.performedEffect || format == f.idListArray;
}

HGLOBAL GlobalCopy(const void *bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return nullptr;
  const global_lock target(block);
  if (!target) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target.get(), bytes, size);
  return block;
}

FORMATETC HGlobalFormat(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

std::vector<uint8_t> ToBytes(PCIDLIST_ABSOLUTE list) {
  const auto *bytes = reinterpret_cast<const uint8_t *>(list);
  return std::vector<uint8_t>(bytes, bytes + ILGetSize(list));
}

}  // namespace

HRESULT CItemDataObject::Create(HWND owner, const std::vector<uint8_t> &folderList, const std::string &folderPath,
                                const std::vector<std::vector<uint8_t>> &items, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    ComPtr<CItemDataObject> data = AdoptCom(new CItemDataObject);
    data->owner_ = owner;
    data->folderList_ = folderList;
    data->items_ = items;
    // The copies go to a folder of this data object's own, under names the
    // PC cannot take for one another.
    const auto folder = NewLocalFolder('D');
    if (!folder) return E_FAIL;
    data->localFolder_ = *folder;
    LocalNameSet names;
    for (const std::vector<uint8_t> &list : items) {
      const auto item = ReadCameraItem(list);
      if (!item) return E_INVALIDARG;
      if (item->kind == kDriveItem) {
        // A drive stands for itself (the file dialog asks for the selection
        // to browse into it) but is never copied to the PC as a whole.
        data->cameraPaths_.emplace_back(item->path);
        data->localPaths_.emplace_back();
        continue;
      }
      const auto cameraPath = ChildPath(folderPath, item->name, item->kind != kFileItem);
      const auto localName = names.Take(item->name);
      const auto localPath = localName ? LocalCopyPath(*folder, *localName) : std::nullopt;
      if (!cameraPath || !localPath) return E_INVALIDARG;
      data->cameraPaths_.push_back(*cameraPath);
      data->localPaths_.push_back(*localPath);
    }
    return data->QueryInterface(interfaceId, object);
  });
}

STDMETHODIMP CItemDataObject::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IDataObject)) {
    *object = static_cast<IDataObject *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CItemDataObject::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CItemDataObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

bool CItemDataObject::OffersFiles() const {
  return fetch_ != kNotFetched || dragLoop_ != -1 || ShellVersion() >= ShellVersionOf(4, 71);
}

HRESULT CItemDataObject::Fetch() {
  if (fetch_ != kNotFetched || dragLoop_ != 0) return S_OK;
  if (!CreateDirectoryA(localFolder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    fetch_ = kFetchFailed;
    return E_FAIL;
  }
  const DWORD total = static_cast<DWORD>(cameraPaths_.size());
  for (DWORD i = 0; i < total; ++i) {
    const char *cameraPath = cameraPaths_[i].c_str();
    if (localPaths_[i].empty()) {
      fetch_ = kFetchFailed;
      return E_FAIL;
    }
    const tagZLXPROGRESSPARAM progress{WindowTo32(owner_), i + 1, total};
    const HRESULT hr = Receive(nullptr, cameraPath, localPaths_[i].c_str(), kTransferWithProgress, progress);
    if (FAILED(hr)) {
      fetch_ = kFetchFailed;
      return hr;
    }
  }
  fetch_ = kFetched;
  return S_OK;
}

STDMETHODIMP CItemDataObject::QueryGetData(FORMATETC *format) {
  if (!format) return E_INVALIDARG;
  if (!(format->dwAspect & DVASPECT_CONTENT)) return DV_E_DVASPECT;
  if (!IsCameraFormat(format->cfFormat) && !(format->cfFormat == CF_HDROP && OffersFiles())) return DV_E_FORMATETC;
  if (format->lindex != -1) return DV_E_LINDEX;
  if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
  return S_OK;
}

HRESULT CItemDataObject::IdListArray(HGLOBAL &block) {
  std::vector<std::vector<uint8_t>> children;
  std::vector<uint8_t> parent;
  const auto first = ReadCameraItem(items_.front());
  if (first && first->transferFlag) {
    // Items handed out for a selection stand for themselves.
    parent = folderList_;
    children = items_;
  } else {
    ComPtr<IShellFolder> desktop;
    ComPtr<IShellFolder> working;
    PIDLIST_RELATIVE workingList = nullptr;
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(MultiByteToWideChar(CP_ACP, 0, localFolder_.c_str(), -1, folder.data(), MAX_PATH));
    if (FAILED(SHGetDesktopFolder(&desktop)) ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, folder.data(), nullptr, &workingList, nullptr)))
      return E_FAIL;
    const unique_cotaskmem workingOwned(workingList);
    if (FAILED(desktop->BindToObject(workingList, nullptr, IID_PPV_ARGS(&working)))) return E_FAIL;
    parent = ToBytes(reinterpret_cast<PCIDLIST_ABSOLUTE>(workingList));
    for (const std::string &local : localPaths_) {
      std::wstring name(MAX_PATH, L'\0');
      const std::string file = local.substr(local.find_last_of('\\') + 1);
      name.resize(MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, name.data(), MAX_PATH));
      PIDLIST_RELATIVE child = nullptr;
      if (FAILED(working->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &child, nullptr))) return E_FAIL;
      const unique_cotaskmem childOwned(child);
      children.push_back(ToBytes(reinterpret_cast<PCIDLIST_ABSOLUTE>(child)));
    }
  }
  const std::vector<uint8_t> cida = MakeIdListArray(parent, children);
  block = GlobalCopy(cida.data(), cida.size());
  return block ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CItemDataObject::GetData(FORMATETC *format, STGMEDIUM *medium) {
  if (!medium) return E_INVALIDARG;
  *medium = STGMEDIUM{};
  if (const HRESULT hr = QueryGetData(format); FAILED(hr)) return hr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    const ClipboardFormats &f = Formats();
    const CLIPFORMAT cf = format->cfFormat;
    HGLOBAL block = nullptr;
    if (cf == f.cameraPaths) {
      const std::vector<uint8_t> paths = MakeDropFiles(cameraPaths_);
      block = GlobalCopy(paths.data(), paths.size());
    } else if (cf == CF_HDROP) {
      if (FAILED(Fetch()) || fetch_ == kFetchFailed) return DV_E_FORMATETC;
      if (fetch_ == kNotFetched && dragLoop_ == -1 && ShellVersion() < ShellVersionOf(4, 71)) return DV_E_FORMATETC;
      const std::vector<uint8_t> paths = MakeDropFiles(localPaths_);
      block = GlobalCopy(paths.data(), paths.size());
    } else if (cf == f.dragLoop || cf == f.preferredEffect || cf == f.performedEffect) {
      const DWORD value = cf == f.dragLoop ? static_cast<DWORD>(dragLoop_)
                          : cf == f.preferredEffect ? preferredEffect_
                                                    : performedEffect_;
      block = GlobalCopy(&value, sizeof value);
    } else if (cf == f.idListArray) {
      if (FAILED(Fetch()) || fetch_ == kFetchFailed) return DV_E_FORMATETC;
      if (const HRESULT hr = IdListArray(block); FAILED(hr)) return hr;
    } else {
      return DV_E_FORMATETC;
    }
    if (!block) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    return S_OK;
  });
}

STDMETHODIMP CItemDataObject::GetDataHere(FORMATETC *, STGMEDIUM *) { return E_NOTIMPL; }

STDMETHODIMP CItemDataObject::GetCanonicalFormatEtc(FORMATETC *, FORMATETC *canonical) {
  if (canonical) canonical->ptd = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CItemDataObject::SetData(FORMATETC *format, STGMEDIUM *medium, BOOL release) {
  if (!format || !medium) return E_INVALIDARG;
  const ClipboardFormats &f = Formats();
  if (format->cfFormat != f.dragLoop && format->cfFormat != f.performedEffect) return DV_E_FORMATETC;
  if (!(format->dwAspect & DVASPECT_CONTENT)) return DV_E_DVASPECT;
  if (format->lindex != -1) return DV_E_LINDEX;
  if (format->tymed != TYMED_HGLOBAL || medium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
  DWORD value = 0;
  if (!medium->hGlobal || GlobalSize(medium->hGlobal) < sizeof value) return E_INVALIDARG;
  {
    const global_lock bytes(medium->hGlobal);
    if (!bytes) return E_INVALIDARG;
    std::memcpy(&value, bytes.get(), sizeof value);
  }
  if (format->cfFormat == f.dragLoop)
    dragLoop_ = static_cast<LONG>(value);
  else
    performedEffect_ = value;
  // The medium is ours only once the data is taken: a refused one stays the
  // caller's to free.
  if (release) ReleaseStgMedium(medium);
  return S_OK;
}

STDMETHODIMP CItemDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC **formats) {
  if (!formats) return E_INVALIDARG;
  *formats = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
  const ClipboardFormats &f = Formats();
  std::vector<FORMATETC> offered;
  if (direction == DATADIR_GET) {
    const bool files = fetch_ != kNotFetched || dragLoop_ != -1 || ShellVersion() > ShellVersionOf(4, 70);
    offered.push_back(HGlobalFormat(f.cameraPaths));
    offered.push_back(HGlobalFormat(f.idListArray));
    if (files) offered.push_back(HGlobalFormat(CF_HDROP));
    offered.push_back(HGlobalFormat(f.dragLoop));
    offered.push_back(HGlobalFormat(f.performedEffect));
    offered.push_back(HGlobalFormat(f.preferredEffect));
  } else if (direction == DATADIR_SET) {
    offered.push_back(HGlobalFormat(f.dragLoop));
    offered.push_back(HGlobalFormat(f.performedEffect));
  } else {
    return E_INVALIDARG;
  }
  return CFormatEnum::Create(std::move(offered), formats);
  });
}

STDMETHODIMP CItemDataObject::DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP CItemDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP CItemDataObject::EnumDAdvise(IEnumSTATDATA **) { return OLE_E_ADVISENOTSUPPORTED; }

}  // namespace camfolder
