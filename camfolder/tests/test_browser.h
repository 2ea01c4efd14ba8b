// Test helper: a shell browser of the test's own that hosts a folder view
// in a window and records what the view asks of it. By default it answers
// none of the optional calls; options make it keep a view state, show a
// status bar and menus, or be a file dialog (ICommDlgBrowser).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "win_raii.h"

class TestBrowser final : public IShellBrowser, public ICommDlgBrowser {
 public:
  struct Options {
    bool viewState = false;   // keeps a view-state stream
    bool statusBar = false;   // answers SendControlMsg for the status bar
    bool menus = false;       // answers InsertMenusSB and SetMenuSB
    bool fileDialog = false;  // answers ICommDlgBrowser
  };
  explicit TestBrowser(Options options);
  ~TestBrowser();

  HWND Window() const { return window_.get(); }
  // Creates the folder's view in the window; nullptr on failure.
  ComPtr<IShellView> ShowView(IShellFolder *folder, UINT viewMode = FVM_DETAILS, HRESULT *result = nullptr);
  void CloseView();
  HWND List() const;  // the view's list control

  // What the view did.
  std::map<int, std::string> status;       // the status bar's texts by part, in UTF-8
  std::vector<UINT> stateChanges;          // ICommDlgBrowser::OnStateChange
  int defaultCommands = 0;
  std::set<std::string> excluded;          // names IncludeObject refuses
  std::vector<uint8_t> viewState;          // the stream's bytes (viewState option)
  HMENU menu = nullptr;                    // the menu given to SetMenuSB
  HWND menuObject = nullptr;               // and its window

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID interfaceId, void **object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // owned by the test

  // IOleWindow
  STDMETHODIMP GetWindow(HWND *window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IShellBrowser
  STDMETHODIMP InsertMenusSB(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
  STDMETHODIMP SetMenuSB(HMENU shared, HOLEMENU, HWND active) override;
  STDMETHODIMP RemoveMenusSB(HMENU shared) override;
  STDMETHODIMP SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
  STDMETHODIMP EnableModelessSB(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAcceleratorSB(MSG *, WORD) override { return S_FALSE; }
  STDMETHODIMP BrowseObject(PCUIDLIST_RELATIVE list, UINT flags) override;
  STDMETHODIMP GetViewStateStream(DWORD mode, IStream **stream) override;
  STDMETHODIMP GetControlWindow(UINT, HWND *window) override;
  STDMETHODIMP SendControlMsg(UINT control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
  STDMETHODIMP QueryActiveShellView(IShellView **view) override;
  STDMETHODIMP OnViewWindowActive(IShellView *) override { return S_OK; }
  STDMETHODIMP SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return S_OK; }

  // ICommDlgBrowser
  STDMETHODIMP OnDefaultCommand(IShellView *) override;
  STDMETHODIMP OnStateChange(IShellView *, ULONG change) override;
  STDMETHODIMP IncludeObject(IShellView *, PCUITEMID_CHILD item) override;

  std::vector<std::vector<uint8_t>> browsed;  // lists given to BrowseObject

 private:
  Options options_;
  ULONG references_ = 1;
  unique_hwnd window_;
  ComPtr<IShellView> view_;
  ComPtr<IShellFolder> folder_;
};
