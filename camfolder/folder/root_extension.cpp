#include "folder/root_extension.h"

#include <shellapi.h>

#include <new>
#include <span>

#include "core/shell_blocks.h"
#include "export_guard.h"
#include "items/camera_connection.h"
#include "menus/camera_commands.h"
#include "menus/command_table.h"
#include "menus/menu_merge.h"
#include "menus/menu_resources.h"
#include "resource_ids.h"
#include "sheets/property_pages.h"
#include "transfer/clipboard_formats.h"

namespace camfolder {

namespace {

// How many entries the data object's block of the format holds: another
// program made it, so it is read only within its allocation.
template <typename Read>
size_t CountIn(IDataObject *data, CLIPFORMAT format, Read read) {
  FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&wanted, &medium))) return 0;
  size_t count = 0;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const global_lock bytes(medium.hGlobal);
    if (bytes) count = read(std::span(static_cast<const uint8_t *>(bytes.get()), GlobalSize(medium.hGlobal)));
  }
  ReleaseStgMedium(&medium);
  return count;
}

// The selection's items: "Shell IDList Array", or failing that CF_HDROP.
UINT SelectedItems(IDataObject *data) {
  size_t count = CountIn(data, Formats().idListArray, [](std::span<const uint8_t> block) -> size_t {
    const auto array = ReadIdListArray(block);
    return array ? array->children.size() : 0;
  });
  if (count == 0) {
    count = CountIn(data, CF_HDROP, [](std::span<const uint8_t> block) -> size_t {
      const auto paths = ReadDropFiles(block);
      return paths ? paths->size() : 0;
    });
  }
  return static_cast<UINT>(count);
}

}  // namespace

HRESULT CRootExtension::Create(REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  auto *extension = new (std::nothrow) CRootExtension;
  if (!extension) return E_OUTOFMEMORY;
  const HRESULT hr = extension->QueryInterface(interfaceId, object);
  extension->Release();
  return hr;
}

STDMETHODIMP CRootExtension::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IShellExtInit)) {
    *object = static_cast<IShellExtInit *>(this);
  } else if (IsEqualIID(interfaceId, IID_IContextMenu)) {
    *object = static_cast<IContextMenu *>(this);
  } else if (IsEqualIID(interfaceId, IID_IShellPropSheetExt)) {
    *object = static_cast<IShellPropSheetExt *>(this);
  } else if (IsEqualIID(interfaceId, IID_IObjectWithSite)) {
    *object = static_cast<IObjectWithSite *>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CRootExtension::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CRootExtension::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CRootExtension::Initialize(PCIDLIST_ABSOLUTE, IDataObject *data, HKEY) {
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    if (!data) return E_INVALIDARG;
    const UINT count = SelectedItems(data);
    if (count == 0) return E_INVALIDARG;
    data_ = data;
    count_ = count;
    return S_OK;
  });
}

STDMETHODIMP CRootExtension::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) {
  if (!menu || lastId < firstId) return E_INVALIDARG;
  if (count_ != 1 || (flags & CMF_DEFAULTONLY)) return IdentifiersUsed(firstId, firstId);
  return RunExport(E_UNEXPECTED, [&]() -> HRESULT {
    const unique_hmenu source = LoadSubmenu(IDM_ROOT_MENU, 1);
    if (!source) return E_UNEXPECTED;
    const int before = GetMenuItemCount(menu);
    const auto next = MergeMenu(menu, position, source.get(), firstId, lastId, kMergeReturnHighestId);
    const int inserted = GetMenuItemCount(menu) - before;
    if (inserted > 0) {
      const UINT at = (position < static_cast<UINT>(before) ? position : static_cast<UINT>(before)) + inserted;
      InsertMenuA(menu, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    }
    return IdentifiersUsed(next, firstId);
  });
}

HRESULT CRootExtension::Run(HWND owner, UINT command) {
  switch (command) {
    case IDM_SAVE_CONFIG:
      return SaveConfiguration(owner);
    case IDM_RESTORE_CONFIG:
      return RestoreConfiguration(owner);
    case IDM_PROPERTIES: {
      bool changed = false;
      const INT_PTR shown = ShowConnectionSheet(owner, changed);
      if (changed) RefreshOwner(owner);
      return shown < 0 ? E_FAIL : S_OK;
    }
    case IDM_DISCONNECT:
      Disconnect();
      return S_OK;
  }
  return E_INVALIDARG;
}

STDMETHODIMP CRootExtension::InvokeCommand(CMINVOKECOMMANDINFO *invoke) {
  const auto command = InvokedCommand(invoke, DeleteVerb::kRefused);
  if (!command) return E_INVALIDARG;
  return RunExport(E_OUTOFMEMORY, [&] { return Run(invoke->hwnd, *command); });
}

STDMETHODIMP CRootExtension::GetCommandString(UINT_PTR command, UINT type, UINT *, LPSTR name, UINT size) {
  return CommandString(command, type, name, size);
}

STDMETHODIMP CRootExtension::AddPages(LPFNSVADDPROPSHEETPAGE addPage, LPARAM lParam) {
  if (!addPage) return E_INVALIDARG;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    unique_propsheetpage page = CreateConnectionPage(AddressFieldForShell(ShellVersion()));
    if (!page) return E_FAIL;
    // The sheet owns the pages it took.
    if (addPage(page.get(), lParam)) page.release();
    return S_OK;
  });
}

STDMETHODIMP CRootExtension::ReplacePage(EXPPS, LPFNSVADDPROPSHEETPAGE, LPARAM) { return E_NOTIMPL; }

STDMETHODIMP CRootExtension::SetSite(IUnknown *site) {
  site_ = site;
  return S_OK;
}

STDMETHODIMP CRootExtension::GetSite(REFIID interfaceId, void **site) {
  if (!site) return E_POINTER;
  *site = nullptr;
  if (!site_) return E_FAIL;
  return site_->QueryInterface(interfaceId, site);
}

}  // namespace camfolder
