#include "folder/folder_factory.h"

#include <shlobj.h>

#include "folder/camera_folder.h"

namespace camfolder {

STDMETHODIMP CFolderFactory::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IClassFactory)) {
    *object = static_cast<IClassFactory *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFolderFactory::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CFolderFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CFolderFactory::CreateInstance(IUnknown *outer, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!IsEqualIID(interfaceId, IID_IUnknown) && !IsEqualIID(interfaceId, IID_IShellFolder) &&
      !IsEqualIID(interfaceId, IID_IPersistFolder) && !IsEqualIID(interfaceId, IID_IPersistFolder2))
    return E_NOINTERFACE;
  return CCameraFolder::Create(classId_, interfaceId, object);
}

STDMETHODIMP CFolderFactory::LockServer(BOOL lock) {
  if (lock)
    ServerLocks().Increment();
  else
    ServerLocks().Decrement();
  return S_OK;
}

}  // namespace camfolder
