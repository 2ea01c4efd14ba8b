#include "folder/item_enum.h"

#include <cstring>
#include <new>

#include "core/item_list.h"
#include "export_guard.h"
#include "items/camera_contents.h"
#include "win_raii.h"

namespace camfolder {

HRESULT CItemEnum::Create(HWND owner, DWORD flags, const std::vector<uint8_t> &folderList, const std::string &path,
                          IEnumIDList **enumerator) {
  *enumerator = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    ComPtr<CItemEnum> items = AdoptCom(new CItemEnum(owner, flags));
    items->folderList_ = folderList;
    std::vector<CameraItem> contents;
    if (const HRESULT hr = LoadFolderContents(path, flags, contents); FAILED(hr)) return hr;
    items->block_ = PackItems(contents);
    items->count_ = static_cast<long>(contents.size());
    items->Reset();
    *enumerator = items.Detach();
    return S_OK;
  });
}

STDMETHODIMP CItemEnum::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IEnumIDList)) {
    *object = static_cast<IEnumIDList *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CItemEnum::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CItemEnum::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

const uint8_t *CItemEnum::Current() const {
  if (count_ < 0 || position_ >= static_cast<size_t>(count_)) return nullptr;
  return block_.data() + position_ * sizeof(CameraItem);
}

STDMETHODIMP CItemEnum::Next(ULONG count, PITEMID_CHILD *items, ULONG *fetched) {
  if (fetched) *fetched = 0;
  if (!items && count > 0) return E_INVALIDARG;
  for (ULONG i = 0; i < count; ++i) items[i] = nullptr;
  if (count > 1 && !fetched) return E_INVALIDARG;
  ULONG given = 0;
  for (const uint8_t *item; given < count && (item = Current()); ++given) {
    // Each item goes out as a list of its own: the item and a zero length.
    auto *copy = static_cast<uint8_t *>(CoTaskMemAlloc(sizeof(CameraItem) + 2));
    if (!copy) {
      for (ULONG j = 0; j < given; ++j) {
        CoTaskMemFree(items[j]);
        items[j] = nullptr;
      }
      position_ -= given;
      return E_OUTOFMEMORY;
    }
    std::memcpy(copy, item, sizeof(CameraItem));
    copy[sizeof(CameraItem)] = copy[sizeof(CameraItem) + 1] = 0;
    items[given] = reinterpret_cast<PITEMID_CHILD>(copy);
    ++position_;
  }
  if (fetched) *fetched = given;
  return given > 0 ? S_OK : S_FALSE;
}

STDMETHODIMP CItemEnum::Skip(ULONG count) {
  // Moving past the end leaves the position at the end.
  const size_t total = count_ > 0 ? static_cast<size_t>(count_) : 0;
  const size_t left = position_ < total ? total - position_ : 0;
  if (count > left) {
    position_ = total;
    return S_FALSE;
  }
  position_ += count;
  return S_OK;
}

STDMETHODIMP CItemEnum::Reset() {
  position_ = 0;
  return S_OK;
}

STDMETHODIMP CItemEnum::Clone(IEnumIDList **copy) {
  if (!copy) return E_INVALIDARG;
  *copy = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    ComPtr<CItemEnum> clone = AdoptCom(new CItemEnum(owner_, flags_));
    clone->block_ = block_;
    clone->folderList_ = folderList_;
    clone->count_ = count_;
    clone->position_ = position_;
    *copy = clone.Detach();
    return S_OK;
  });
}

}  // namespace camfolder
