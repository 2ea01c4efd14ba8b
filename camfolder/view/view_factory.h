// CViewFactory: the camera folder's view as the shell takes it — IShellView
// (with IOleWindow) over the view core, which it owns.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "items/module_state.h"
#include "view/camera_view.h"

namespace camfolder {

class CViewFactory final : public IShellView {
 public:
  static HRESULT Create(IShellFolder *folder, const std::vector<uint8_t> &folderList, const std::string &folderPath,
                        REFIID interfaceId, void **object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleWindow
  STDMETHODIMP GetWindow(HWND *window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

  // IShellView
  STDMETHODIMP TranslateAccelerator(MSG *message) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;
  STDMETHODIMP UIActivate(UINT state) override;
  STDMETHODIMP Refresh() override;
  STDMETHODIMP CreateViewWindow(IShellView *previous, LPCFOLDERSETTINGS settings, IShellBrowser *browser, RECT *area,
                                HWND *window) override;
  STDMETHODIMP DestroyViewWindow() override;
  STDMETHODIMP GetCurrentInfo(LPFOLDERSETTINGS settings) override;
  STDMETHODIMP AddPropertySheetPages(DWORD reserved, LPFNSVADDPROPSHEETPAGE add, LPARAM context) override;
  STDMETHODIMP SaveViewState() override;
  STDMETHODIMP SelectItem(PCUITEMID_CHILD item, SVSIF flags) override;
  STDMETHODIMP GetItemObject(UINT which, REFIID interfaceId, void **object) override;

 private:
  explicit CViewFactory(std::unique_ptr<CCameraView> view) : view_(std::move(view)) {
    view_->SetShellView(this);
  }
  ~CViewFactory() = default;

  LONG references_ = 1;
  std::unique_ptr<CCameraView> view_;
  LiveObject live_{FolderObjects()};
};

}  // namespace camfolder
