#include "folder/item_icon.h"

#include <new>
#include <string>

#include "resource_ids.h"

namespace camfolder {

namespace {

// Icons of this module by resource number: negative icon indexes name
// resources, positive ones count icons.
int ResourceIndex(int resource) { return -resource; }

HICON LoadModuleIcon(int resource, UINT size) {
  return static_cast<HICON>(
      LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(resource), IMAGE_ICON, static_cast<int>(size), static_cast<int>(size), 0));
}

}  // namespace

HRESULT CItemIcon::Create(const CameraItem &item, REFIID interfaceId, void **object) {
  auto *icon = new (std::nothrow) CItemIcon;
  if (!icon) return E_OUTOFMEMORY;
  icon->kind_ = PathKindOf(item.path);
  const std::string name = icon->kind_ == kFilePath ? std::string(item.name) : LastComponent(item.path);
  lstrcpynA(icon->name_, name.c_str(), sizeof icon->name_);
  const HRESULT hr = icon->QueryInterface(interfaceId, object);
  icon->Release();
  return hr;
}

STDMETHODIMP CItemIcon::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IExtractIconA)) {
    *object = static_cast<IExtractIconA *>(this);
  } else if (IsEqualIID(interfaceId, IID_IExtractIconW)) {
    *object = static_cast<IExtractIconW *>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CItemIcon::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CItemIcon::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

bool CItemIcon::FileInfo(UINT flags, SHFILEINFOA &info) const {
  const DWORD attributes = kind_ == kFolderPath ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  info = SHFILEINFOA{};
  return SHGetFileInfoA(name_, attributes, &info, sizeof info, flags | SHGFI_USEFILEATTRIBUTES) != 0;
}

STDMETHODIMP CItemIcon::GetIconLocation(UINT flags, LPSTR iconFile, UINT size, int *index, UINT *outFlags) {
  if (iconFile && size > 0) iconFile[0] = 0;
  if (index) *index = 0;
  if (outFlags) *outFlags = 0;
  if (!iconFile || size == 0 || !index) return E_INVALIDARG;
  if (kind_ == kRootPath || kind_ == kDrivePath) {
    const std::string module = ModuleFileName();
    if (module.empty()) return S_FALSE;
    lstrcpynA(iconFile, module.c_str(), static_cast<int>(size));
    *index = ResourceIndex(kind_ == kRootPath ? IDI_CAMERA : IDI_DRIVE);
    return S_OK;
  }
  UINT query = SHGFI_ICONLOCATION;
  if (flags & GIL_FORSHELL) query |= SHGFI_SHELLICONSIZE;
  if (flags & GIL_OPENICON) query |= SHGFI_OPENICON;
  SHFILEINFOA info;
  if (!FileInfo(query, info)) return S_FALSE;
  lstrcpynA(iconFile, info.szDisplayName, static_cast<int>(size));
  *index = info.iIcon;
  return S_OK;
}

STDMETHODIMP CItemIcon::Extract(LPCSTR iconFile, UINT index, HICON *large, HICON *small, UINT sizes) {
  if (large) *large = nullptr;
  if (small) *small = nullptr;
  if (kind_ == kRootPath || kind_ == kDrivePath) {
    const int resource = kind_ == kRootPath ? IDI_CAMERA : IDI_DRIVE;
    if (large) *large = LoadModuleIcon(resource, LOWORD(sizes));
    if (small) *small = LoadModuleIcon(resource, HIWORD(sizes));
    return S_OK;
  }
  UINT query = SHGFI_ICON;
  if (!iconFile || !iconFile[0]) {
    if (index & 1) query |= SHGFI_OPENICON;
    if (index & 2) query |= SHGFI_SHELLICONSIZE;
  }
  SHFILEINFOA info;
  if (large && FileInfo(query, info)) *large = info.hIcon;
  if (small && FileInfo(query | SHGFI_SMALLICON, info)) *small = info.hIcon;
  return S_OK;
}

STDMETHODIMP CItemIcon::GetIconLocation(UINT flags, LPWSTR iconFile, UINT size, int *index, UINT *outFlags) {
  if (iconFile && size > 0) iconFile[0] = 0;
  char file[MAX_PATH];
  const HRESULT hr = GetIconLocation(flags, file, MAX_PATH, index, outFlags);
  if (hr != S_OK || !iconFile || size == 0) return hr;
  if (!MultiByteToWideChar(CP_ACP, 0, file, -1, iconFile, static_cast<int>(size))) {
    iconFile[0] = 0;
    return S_FALSE;
  }
  return S_OK;
}

STDMETHODIMP CItemIcon::Extract(LPCWSTR iconFile, UINT index, HICON *large, HICON *small, UINT sizes) {
  char file[MAX_PATH] = "";
  if (iconFile) WideCharToMultiByte(CP_ACP, 0, iconFile, -1, file, sizeof file, nullptr, nullptr);
  return Extract(file, index, large, small, sizes);
}

}  // namespace camfolder
