// CFormatEnum: the formats a data object offers (IEnumFORMATETC), over a
// copied array.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <vector>

#include "items/module_state.h"

namespace camfolder {

class CFormatEnum final : public IEnumFORMATETC {
 public:
  static HRESULT Create(std::vector<FORMATETC> formats, IEnumFORMATETC **enumerator);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IEnumFORMATETC
  STDMETHODIMP Next(ULONG count, FORMATETC *formats, ULONG *fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumFORMATETC **copy) override;

 private:
  explicit CFormatEnum(std::vector<FORMATETC> formats) : formats_(std::move(formats)) {}
  ~CFormatEnum() = default;

  LONG references_ = 1;
  std::vector<FORMATETC> formats_;
  size_t position_ = 0;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
