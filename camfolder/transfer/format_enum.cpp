#include "transfer/format_enum.h"

#include "export_guard.h"
#include "win_raii.h"

namespace camfolder {

HRESULT CFormatEnum::Create(std::vector<FORMATETC> formats, IEnumFORMATETC **enumerator) {
  if (!enumerator) return E_INVALIDARG;
  *enumerator = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    *enumerator = new CFormatEnum(std::move(formats));
    return S_OK;
  });
}

STDMETHODIMP CFormatEnum::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IEnumFORMATETC)) {
    *object = static_cast<IEnumFORMATETC *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFormatEnum::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CFormatEnum::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CFormatEnum::Next(ULONG count, FORMATETC *formats, ULONG *fetched) {
  if (fetched) *fetched = 0;
  if (count > 0 && !formats) return E_INVALIDARG;
  if (count > 1 && !fetched) return E_INVALIDARG;
  ULONG given = 0;
  while (given < count && position_ < formats_.size()) formats[given++] = formats_[position_++];
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP CFormatEnum::Skip(ULONG count) {
  const size_t left = formats_.size() - position_;
  if (count > left) {
    position_ = formats_.size();
    return S_FALSE;
  }
  position_ += count;
  return S_OK;
}

STDMETHODIMP CFormatEnum::Reset() {
  position_ = 0;
  return S_OK;
}

STDMETHODIMP CFormatEnum::Clone(IEnumFORMATETC **copy) {
  if (!copy) return E_INVALIDARG;
  *copy = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    auto *clone = new CFormatEnum(formats_);
    clone->position_ = position_;
    *copy = clone;
    return S_OK;
  });
}

}  // namespace camfolder
