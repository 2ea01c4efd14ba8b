// The class factory of the root extension (IClassFactory): the camera's
// verbs and connection page on the junction item.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "items/module_state.h"

namespace camfolder {

class CExtensionFactory final : public IClassFactory {
 public:
  CExtensionFactory() = default;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IClassFactory
  STDMETHODIMP CreateInstance(IUnknown *outer, REFIID interfaceId, void **object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ~CExtensionFactory() = default;

  LONG references_ = 1;
  LiveObject live_{ExtensionObjects()};
};

}  // namespace camfolder
