// The module's entry point and its two exports: the class objects of the
// camera folder and the root extension, and whether the module may unload.
#include <windows.h>
#include <shlobj.h>

#include <new>

#include "export_guard.h"
#include "folder/camfolder_guids.h"
#include "folder/extension_factory.h"
#include "folder/folder_factory.h"
#include "items/camera_connection.h"
#include "items/module_state.h"
#include "items/working_folder.h"

using namespace camfolder;

namespace {

// Once per process, before the first folder class object is handed out.
void PrepareFirstFolderUse() {
  OleInitialize(nullptr);
  CleanWorkingFolder();
  ResetOpenCount();
}

HRESULT HandOut(IClassFactory *factory, REFIID interfaceId, void **object) {
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(interfaceId, object);
  factory->Release();
  return hr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      SetModuleInstance(instance);
      if (!CreateThreadSlots()) return FALSE;
      AttachThreadSlot();
      break;
    case DLL_THREAD_ATTACH:
      AttachThreadSlot();
      break;
    case DLL_THREAD_DETACH:
      DetachThreadSlot();
      break;
    case DLL_PROCESS_DETACH:
      // On FreeLibrary the unloading thread's camera is closed; at process
      // exit the other modules may be gone already, so nothing is called.
      if (!reserved) {
        CloseThreadCamera();
        SetCurrentDirectoryA(WorkingFolder().c_str());
      }
      DeleteThreadSlots();
      break;
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    ReadConnectionSettings();
    if (IsEqualCLSID(classId, kRootExtensionClass) || IsEqualIID(interfaceId, IID_IShellExtInit))
      return HandOut(new (std::nothrow) CExtensionFactory, interfaceId, object);
    if (TakeFirstFolderUse()) PrepareFirstFolderUse();
    if (!IsEqualCLSID(classId, kCameraFolderClass)) return CLASS_E_CLASSNOTAVAILABLE;
    return HandOut(new (std::nothrow) CFolderFactory(classId), interfaceId, object);
  });
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  if (ExtensionObjects().Value() > 0 || FolderObjects().Value() > 0 || ServerLocks().Value() > 0) return S_FALSE;
  CloseThreadCamera();
  return S_OK;
}
