// CRootExtension: the camera junction item in the shell's own folders. Four
// interface tables: IShellExtInit (the selection), IContextMenu (menu 102:
// the configuration backup, properties, disconnect), IShellPropSheetExt
// (the connection page in the shell's sheet of the junction) and
// IObjectWithSite.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "items/module_state.h"
#include "win_raii.h"

namespace camfolder {

class CRootExtension final : public IShellExtInit,
                             public IContextMenu,
                             public IShellPropSheetExt,
                             public IObjectWithSite {
 public:
  static HRESULT Create(REFIID interfaceId, void **object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IShellExtInit
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject *data, HKEY key) override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO *invoke) override;
  STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT *reserved, LPSTR name, UINT size) override;

  // IShellPropSheetExt
  STDMETHODIMP AddPages(LPFNSVADDPROPSHEETPAGE addPage, LPARAM lParam) override;
  STDMETHODIMP ReplacePage(EXPPS page, LPFNSVADDPROPSHEETPAGE replacePage, LPARAM lParam) override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown *site) override;
  STDMETHODIMP GetSite(REFIID interfaceId, void **site) override;

 private:
  CRootExtension() = default;
  ~CRootExtension() = default;

  HRESULT Run(HWND owner, UINT command);

  LONG references_ = 1;
  ComPtr<IDataObject> data_;
  UINT count_ = 0;  // items selected
  ComPtr<IUnknown> site_;
  LiveObject live_{ExtensionObjects()};
};

}  // namespace camfolder
