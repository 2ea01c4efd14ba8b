#include "folder/extension_factory.h"

#include <shlobj.h>

#include "folder/root_extension.h"

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

STDMETHODIMP CExtensionFactory::CreateInstance(IUnknown *outer, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!IsEqualIID(interfaceId, IID_IUnknown) && !IsEqualIID(interfaceId, IID_IShellExtInit) &&
      !IsEqualIID(interfaceId, IID_IContextMenu) && !IsEqualIID(interfaceId, IID_IShellPropSheetExt))
    return E_NOINTERFACE;
  return CRootExtension::Create(interfaceId, object);
}

STDMETHODIMP CExtensionFactory::LockServer(BOOL) { return E_NOTIMPL; }

}  // namespace camfolder
