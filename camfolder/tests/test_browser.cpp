#include "test_browser.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cstring>

#include "shell_fixture.h"
#include "window_text.h"

namespace {

LRESULT CALLBACK BrowserWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BrowserWindowProc;
  windowClass.lpszClassName = "LumoTestBrowser";
  RegisterClassA(&windowClass);
  return CreateWindowA("LumoTestBrowser", "Test browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 640, 480,
                       nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

TestBrowser::TestBrowser(Options options) : options_(options), window_(MakeWindow()) {}

TestBrowser::~TestBrowser() { CloseView(); }

ComPtr<IShellView> TestBrowser::ShowView(IShellFolder *folder, UINT viewMode, HRESULT *result) {
  CloseView();
  folder_ = folder;
  HRESULT hr = folder->CreateViewObject(window_.get(), IID_PPV_ARGS(&view_));
  HWND viewWindow = nullptr;
  if (SUCCEEDED(hr)) {
    FOLDERSETTINGS settings{viewMode, 0};
    RECT area{0, 0, 620, 440};
    hr = view_->CreateViewWindow(nullptr, &settings, this, &area, &viewWindow);
  }
  if (result) *result = hr;
  if (FAILED(hr)) view_.Reset();
  return view_;
}

void TestBrowser::CloseView() {
  if (view_) view_->DestroyViewWindow();
  view_.Reset();
  folder_.Reset();
}

HWND TestBrowser::List() const {
  HWND viewWindow = nullptr;
  if (!view_ || FAILED(view_->GetWindow(&viewWindow))) return nullptr;
  return FindWindowExA(viewWindow, nullptr, "SysListView32", nullptr);
}

STDMETHODIMP TestBrowser::QueryInterface(REFIID interfaceId, void **object) {
  if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IOleWindow) ||
      IsEqualIID(interfaceId, IID_IShellBrowser)) {
    *object = static_cast<IShellBrowser *>(this);
  } else if (IsEqualIID(interfaceId, IID_ICommDlgBrowser) && options_.fileDialog) {
    *object = static_cast<ICommDlgBrowser *>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP TestBrowser::GetWindow(HWND *window) {
  *window = window_.get();
  return S_OK;
}

STDMETHODIMP TestBrowser::InsertMenusSB(HMENU shared, LPOLEMENUGROUPWIDTHS widths) {
  if (!options_.menus) return E_NOTIMPL;
  for (const auto &[id, title] : {std::pair{FCIDM_MENU_FILE, "&File"}, std::pair{FCIDM_MENU_EDIT, "&Edit"},
                                  std::pair{FCIDM_MENU_VIEW, "&View"}}) {
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, 0x7F00 + id, "Close");
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    item.wID = id;
    item.hSubMenu = popup;
    item.dwTypeData = const_cast<char *>(title);
    InsertMenuItemA(shared, GetMenuItemCount(shared), TRUE, &item);
  }
  if (widths) widths->width[0] = 1, widths->width[2] = 1, widths->width[4] = 1;
  return S_OK;
}

STDMETHODIMP TestBrowser::SetMenuSB(HMENU shared, HOLEMENU, HWND active) {
  if (!options_.menus) return E_NOTIMPL;
  menu = shared;
  menuObject = active;
  return S_OK;
}

STDMETHODIMP TestBrowser::RemoveMenusSB(HMENU shared) {
  if (!options_.menus) return E_NOTIMPL;
  while (GetMenuItemCount(shared) > 0) RemoveMenu(shared, 0, MF_BYPOSITION);
  return S_OK;
}

STDMETHODIMP TestBrowser::BrowseObject(PCUIDLIST_RELATIVE list, UINT) {
  browsed.push_back(ListBytes(static_cast<PCUITEMID_CHILD>(list)));
  return S_OK;
}

STDMETHODIMP TestBrowser::GetViewStateStream(DWORD mode, IStream **stream) {
  *stream = nullptr;
  if (!options_.viewState) return E_NOTIMPL;
  if ((mode & 3) == STGM_READ) {
    *stream = SHCreateMemStream(viewState.data(), static_cast<UINT>(viewState.size()));
    return *stream ? S_OK : E_OUTOFMEMORY;
  }
  // A stream whose bytes come back into viewState when the view lets it go.
  class Saved final : public IStream {
   public:
    explicit Saved(std::vector<uint8_t> &target) : target_(target) { CreateStreamOnHGlobal(nullptr, TRUE, &inner_); }
    STDMETHODIMP QueryInterface(REFIID id, void **object) override {
      if (!IsEqualIID(id, IID_IUnknown) && !IsEqualIID(id, IID_IStream)) return *object = nullptr, E_NOINTERFACE;
      *object = this;
      AddRef();
      return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
      if (--references_) return references_;
      STATSTG stat{};
      HGLOBAL block = nullptr;
      if (SUCCEEDED(inner_->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(GetHGlobalFromStream(inner_.Get(), &block))) {
        const auto *bytes = static_cast<const uint8_t *>(GlobalLock(block));
        target_.assign(bytes, bytes + stat.cbSize.QuadPart);
        GlobalUnlock(block);
      }
      delete this;
      return 0;
    }
    STDMETHODIMP Read(void *v, ULONG n, ULONG *r) override { return inner_->Read(v, n, r); }
    STDMETHODIMP Write(const void *v, ULONG n, ULONG *w) override { return inner_->Write(v, n, w); }
    STDMETHODIMP Seek(LARGE_INTEGER m, DWORD o, ULARGE_INTEGER *p) override { return inner_->Seek(m, o, p); }
    STDMETHODIMP SetSize(ULARGE_INTEGER s) override { return inner_->SetSize(s); }
    STDMETHODIMP CopyTo(IStream *t, ULARGE_INTEGER n, ULARGE_INTEGER *r, ULARGE_INTEGER *w) override {
      return inner_->CopyTo(t, n, r, w);
    }
    STDMETHODIMP Commit(DWORD f) override { return inner_->Commit(f); }
    STDMETHODIMP Revert() override { return inner_->Revert(); }
    STDMETHODIMP LockRegion(ULARGE_INTEGER o, ULARGE_INTEGER n, DWORD t) override { return inner_->LockRegion(o, n, t); }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER o, ULARGE_INTEGER n, DWORD t) override {
      return inner_->UnlockRegion(o, n, t);
    }
    STDMETHODIMP Stat(STATSTG *s, DWORD f) override { return inner_->Stat(s, f); }
    STDMETHODIMP Clone(IStream **c) override { return inner_->Clone(c); }

   private:
    ~Saved() = default;
    ULONG references_ = 1;
    std::vector<uint8_t> &target_;
    ComPtr<IStream> inner_;
  };
  *stream = new Saved(viewState);
  return S_OK;
}

STDMETHODIMP TestBrowser::GetControlWindow(UINT, HWND *window) {
  *window = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TestBrowser::SendControlMsg(UINT control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) {
  if (!options_.statusBar || control != FCW_STATUS) return E_NOTIMPL;
  if (message == SB_SETTEXTW) status[static_cast<int>(wParam & 0xFF)] = Utf8(reinterpret_cast<const wchar_t *>(lParam));
  if (result) *result = TRUE;
  return S_OK;
}

STDMETHODIMP TestBrowser::QueryActiveShellView(IShellView **view) {
  *view = view_.Get();
  if (view_) view_->AddRef();
  return view_ ? S_OK : E_FAIL;
}

STDMETHODIMP TestBrowser::OnDefaultCommand(IShellView *) {
  ++defaultCommands;
  return S_OK;
}

STDMETHODIMP TestBrowser::OnStateChange(IShellView *, ULONG change) {
  stateChanges.push_back(change);
  return S_OK;
}

STDMETHODIMP TestBrowser::IncludeObject(IShellView *, PCUITEMID_CHILD item) {
  if (!folder_) return S_OK;
  return excluded.count(NameOf(folder_.Get(), item, SHGDN_INFOLDER)) ? S_FALSE : S_OK;
}
