// CItemDataObject: camera items handed to the shell (IDataObject) — their
// camera paths, their local copies in the working folder (fetched when the
// shell first asks for files), and the drag state the shell keeps in it.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

#include "items/module_state.h"

namespace camfolder {

class CItemDataObject final : public IDataObject {
 public:
  // The items are one-item lists of the folder with this absolute list and
  // camera path. E_INVALIDARG for items no path can address.
  static HRESULT Create(HWND owner, const std::vector<uint8_t> &folderList, const std::string &folderPath,
                        const std::vector<std::vector<uint8_t>> &items, REFIID interfaceId, void **object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDataObject
  STDMETHODIMP GetData(FORMATETC *format, STGMEDIUM *medium) override;
  STDMETHODIMP GetDataHere(FORMATETC *format, STGMEDIUM *medium) override;
  STDMETHODIMP QueryGetData(FORMATETC *format) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC *format, FORMATETC *canonical) override;
  STDMETHODIMP SetData(FORMATETC *format, STGMEDIUM *medium, BOOL release) override;
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC **formats) override;
  STDMETHODIMP DAdvise(FORMATETC *format, DWORD flags, IAdviseSink *sink, DWORD *connection) override;
  STDMETHODIMP DUnadvise(DWORD connection) override;
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA **advises) override;

 private:
  CItemDataObject() = default;
  ~CItemDataObject() = default;

  enum FetchState { kNotFetched = 0, kFetchFailed = 1, kFetched = 2 };

  // Whether local files may be handed out before anything was fetched.
  bool OffersFiles() const;
  // Receives every item into its local path, once, when a drop is under way.
  HRESULT Fetch();
  HRESULT IdListArray(HGLOBAL &block);

  LONG references_ = 1;
  HWND owner_ = nullptr;
  std::vector<std::string> cameraPaths_;
  std::vector<std::string> localPaths_;
  std::string localFolder_;   // this object's own folder for the local copies
  FetchState fetch_ = kNotFetched;
  LONG dragLoop_ = -1;        // "InShellDragLoop": 0 once the drop is made
  DWORD preferredEffect_ = DROPEFFECT_COPY;
  DWORD performedEffect_ = DROPEFFECT_NONE;
  std::vector<uint8_t> folderList_;
  std::vector<std::vector<uint8_t>> items_;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
