// CCameraFolder: the camera root, a drive or a folder of the camera as a
// shell folder. Two interface tables: IPersistFolder2 (with IPersistFolder
// and IPersist) and IShellFolder.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "core/camera_item.h"
#include "core/camera_path.h"
#include "items/module_state.h"

namespace camfolder {

class CCameraFolder final : public IPersistFolder2, public IShellFolder {
 public:
  // A new folder object for the class, asked for the interface.
  static HRESULT Create(REFCLSID classId, REFIID interfaceId, void **object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPersist, IPersistFolder, IPersistFolder2
  STDMETHODIMP GetClassID(CLSID *classId) override;
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE list) override;
  STDMETHODIMP GetCurFolder(PIDLIST_ABSOLUTE *list) override;

  // IShellFolder
  STDMETHODIMP ParseDisplayName(HWND owner, IBindCtx *context, LPWSTR name, ULONG *eaten, PIDLIST_RELATIVE *list,
                                ULONG *attributes) override;
  STDMETHODIMP EnumObjects(HWND owner, SHCONTF flags, IEnumIDList **enumerator) override;
  STDMETHODIMP BindToObject(PCUIDLIST_RELATIVE list, IBindCtx *context, REFIID interfaceId, void **object) override;
  STDMETHODIMP BindToStorage(PCUIDLIST_RELATIVE list, IBindCtx *context, REFIID interfaceId, void **object) override;
  STDMETHODIMP CompareIDs(LPARAM how, PCUIDLIST_RELATIVE first, PCUIDLIST_RELATIVE second) override;
  STDMETHODIMP CreateViewObject(HWND owner, REFIID interfaceId, void **object) override;
  STDMETHODIMP GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF *attributes) override;
  STDMETHODIMP GetUIObjectOf(HWND owner, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID interfaceId, UINT *reserved,
                             void **object) override;
  STDMETHODIMP GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET *name) override;
  STDMETHODIMP SetNameOf(HWND owner, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags,
                         PITEMID_CHILD *newItem) override;

 private:
  explicit CCameraFolder(REFCLSID classId) : classId_(classId) {}
  ~CCameraFolder() = default;

  bool AtRoot() const { return path_.empty(); }
  HRESULT DriveAttributes(const std::vector<CameraItem> &items, SFGAOF &value);
  HRESULT EntryAttributes(const std::vector<CameraItem> &items, SFGAOF &value);

  LONG references_ = 1;
  CLSID classId_;
  std::vector<uint8_t> list_;  // the folder's absolute list, empty until Initialize
  std::string path_;           // its camera path: "" for the camera root
  PathKind kind_ = kNoPath;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
