// The class factory of the camera folder (IClassFactory).
#pragma once

#include <windows.h>
#include <objbase.h>

#include "items/module_state.h"

namespace camfolder {

class CFolderFactory final : public IClassFactory {
 public:
  explicit CFolderFactory(REFCLSID classId) : classId_(classId) {}

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IClassFactory
  STDMETHODIMP CreateInstance(IUnknown *outer, REFIID interfaceId, void **object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ~CFolderFactory() = default;

  LONG references_ = 1;
  CLSID classId_;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
