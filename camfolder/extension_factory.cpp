#include "extension_factory.h"

namespace camfolder {

STDMETHODIMP CExtensionFactory::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IClassFactory)) {
    *object = static_cast<IClassFactory *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CExtensionFactory::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CExtensionFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CExtensionFactory::CreateInstance(IUnknown *outer, REFIID, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  // The root extension's menu and property page are not offered yet.
  return E_NOINTERFACE;
}

STDMETHODIMP CExtensionFactory::LockServer(BOOL) { return E_NOTIMPL; }

}  // namespace camfolder
