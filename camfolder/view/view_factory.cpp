#include "view/view_factory.h"

#include "export_guard.h"
#include "win_raii.h"

namespace camfolder {

HRESULT CViewFactory::Create(IShellFolder *folder, const std::vector<uint8_t> &folderList,
                             const std::string &folderPath, REFIID interfaceId, void **object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  return RunExport(E_OUTOFMEMORY, [&]() -> HRESULT {
    const ComPtr<CViewFactory> factory =
        AdoptCom(new CViewFactory(std::make_unique<CCameraView>(folder, folderList, folderPath)));
    return factory->QueryInterface(interfaceId, object);
  });
}

STDMETHODIMP CViewFactory::QueryInterface(REFIID interfaceId, void **object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IOleWindow) ||
      IsEqualIID(interfaceId, IID_IShellView)) {
    *object = static_cast<IShellView *>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CViewFactory::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) CViewFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CViewFactory::GetWindow(HWND *window) {
  if (!window) return E_INVALIDARG;
  *window = view_->Window();
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP CViewFactory::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CViewFactory::TranslateAccelerator(MSG *message) { return view_->TranslateAccelerator(message); }
STDMETHODIMP CViewFactory::EnableModeless(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CViewFactory::UIActivate(UINT state) { return view_->UIActivate(state); }
STDMETHODIMP CViewFactory::Refresh() { return view_->Refresh(); }

STDMETHODIMP CViewFactory::CreateViewWindow(IShellView *, LPCFOLDERSETTINGS settings, IShellBrowser *browser,
                                            RECT *area, HWND *window) {
  return view_->CreateViewWindow(settings, browser, area, window);
}

STDMETHODIMP CViewFactory::DestroyViewWindow() { return view_->DestroyViewWindow(); }
STDMETHODIMP CViewFactory::GetCurrentInfo(LPFOLDERSETTINGS settings) { return view_->GetCurrentInfo(settings); }
STDMETHODIMP CViewFactory::AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM) { return E_NOTIMPL; }
STDMETHODIMP CViewFactory::SaveViewState() { return view_->SaveViewState(); }
STDMETHODIMP CViewFactory::SelectItem(PCUITEMID_CHILD item, SVSIF flags) { return view_->SelectItem(item, flags); }

STDMETHODIMP CViewFactory::GetItemObject(UINT which, REFIID interfaceId, void **object) {
  return RunExport(E_OUTOFMEMORY, [&] { return view_->GetItemObject(which, interfaceId, object); });
}

}  // namespace camfolder
