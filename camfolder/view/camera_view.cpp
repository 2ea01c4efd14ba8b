#include "view/camera_view.h"

#include "export_guard.h"
#include "items/module_state.h"
#include "items/working_folder.h"
#include "resource_ids.h"
#include "transfer/clipboard_formats.h"
#include "view/hosting_browser.h"

namespace camfolder {

CCameraView::CCameraView(IShellFolder *folder, std::vector<uint8_t> folderList, std::string folderPath)
    : folder_(folder), folderList_(std::move(folderList)), path_(std::move(folderPath)) {}

CCameraView::~CCameraView() {
  if (window_) DestroyViewWindow();
}

HRESULT CCameraView::CreateViewWindow(const FOLDERSETTINGS *settings, IShellBrowser *browser, const RECT *area,
                                      HWND *window) {
  if (!window) return E_INVALIDARG;
  *window = nullptr;
  if (!browser || !area) return E_INVALIDARG;
  if (settings) {
    if (settings->ViewMode >= FVM_ICON && settings->ViewMode <= FVM_DETAILS) viewMode_ = settings->ViewMode;
    folderFlags_ = settings->fFlags;
  }
  browser_ = browser;
  if (FAILED(browser_->GetWindow(&parent_))) parent_ = nullptr;
  IStream *state = nullptr;
  if (SUCCEEDED(browser_->GetViewStateStream(STGM_READ, &state)) && state) {
    const ComPtr<IStream> owned = AdoptCom(state);
    uint8_t record[kViewStateSize + 1];
    ULONG read = 0;
    const LARGE_INTEGER start{};
    // One byte more than a record: a longer one is someone else's.
    if (SUCCEEDED(owned->Seek(start, STREAM_SEEK_SET, nullptr)) && SUCCEEDED(owned->Read(record, sizeof record, &read)))
      if (const auto widths = ReadViewState(std::span<const uint8_t>(record, read)))
        for (int i = 0; i < kViewColumns; ++i) widths_[i] = static_cast<int>((*widths)[i]);
  }
  SetMessageOwner(parent_);
  browser_.As(&dialogBrowser_);
  browser_->EnableModelessSB(TRUE);
  browser_->SetToolbarItems(nullptr, 0, FCT_MERGE);

  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  accelerators_ = LoadAcceleratorsA(ModuleInstance(), MAKEINTRESOURCEA(IDA_VIEW));
  if (!CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_CAMERA_VIEW), parent_, DialogProc,
                          reinterpret_cast<LPARAM>(this)) ||
      !window_) {
    browser_.Reset();
    dialogBrowser_.Reset();
    return E_UNEXPECTED;
  }
  SetWindowPos(window_, nullptr, area->left, area->top, area->right - area->left, area->bottom - area->top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
  AddHostingBrowser(parent_, browser_.Get());
  if (const HRESULT hr = Refresh(); FAILED(hr)) {
    DestroyViewWindow();
    return hr;
  }
  *window = window_;
  return S_OK;
}

HRESULT CCameraView::DestroyViewWindow() {
  dialogBrowser_.Reset();
  UIActivate(SVUIA_DEACTIVATE);
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  list_ = nullptr;
  RemoveHostingBrowser(parent_);
  browser_.Reset();
  if (MessageOwner() == parent_) SetMessageOwner(nullptr);
  return S_OK;
}

HRESULT CCameraView::Refresh() { return RunExport(E_OUTOFMEMORY, [&] { return Refill(); }); }

HRESULT CCameraView::GetCurrentInfo(FOLDERSETTINGS *settings) const {
  if (!settings) return E_INVALIDARG;
  settings->ViewMode = viewMode_;
  settings->fFlags = folderFlags_;
  return S_OK;
}

HRESULT CCameraView::SaveViewState() {
  if (!browser_) return E_UNEXPECTED;
  IStream *state = nullptr;
  if (FAILED(browser_->GetViewStateStream(STGM_WRITE, &state)) || !state) return E_UNEXPECTED;
  const ComPtr<IStream> owned = AdoptCom(state);
  std::array<uint32_t, kViewColumns> widths{};
  for (int i = 0; i < kViewColumns; ++i)
    widths[i] = list_ ? static_cast<uint32_t>(ListView_GetColumnWidth(list_, i)) : 0;
  const auto record = MakeViewState(widths);
  const LARGE_INTEGER start{};
  ULONG written = 0;
  if (FAILED(owned->Seek(start, STREAM_SEEK_SET, nullptr)) ||
      FAILED(owned->Write(record.data(), static_cast<ULONG>(record.size()), &written)) || written != record.size())
    return E_UNEXPECTED;
  return S_OK;
}

HRESULT CCameraView::TranslateAccelerator(MSG *message) {
  if (!accelerators_ || !message) return S_FALSE;
  if (!editing_) return ::TranslateAcceleratorA(window_, accelerators_, message) ? S_OK : S_FALSE;
  // While a name is edited, its keys belong to the edit field.
  if (message->message != WM_KEYDOWN) return S_FALSE;
  TranslateMessage(message);
  DispatchMessageA(message);
  return S_OK;
}

void CCameraView::SetViewMode(UINT mode) {
  static const DWORD kStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  if (mode < FVM_ICON || mode > FVM_DETAILS) return;
  viewMode_ = mode;
  if (list_) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(list_, GWL_STYLE));
    SetWindowLongA(list_, GWL_STYLE, static_cast<LONG>((style & ~LVS_TYPEMASK) | kStyles[mode - FVM_ICON]));
  }
}

void CCameraView::LineUp() {
  if (list_) ListView_Arrange(list_, LVA_SNAPTOGRID);
}

void CCameraView::SortBy(int column) {
  if (column >= 0 && column <= static_cast<int>(kSortDate)) Sort(static_cast<uint32_t>(column));
}

INT_PTR CALLBACK CCameraView::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *view = reinterpret_cast<CCameraView *>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    view = reinterpret_cast<CCameraView *>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    view->window_ = dialog;
  }
  if (!view) return FALSE;
  INT_PTR result = FALSE;
  // Nothing thrown may reach the window manager.
  RunExport([&] { result = view->Handle(message, wParam, lParam); });
  if (message == WM_NCDESTROY) SetWindowLongPtrA(dialog, DWLP_USER, 0);
  return result;
}

INT_PTR CCameraView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT kWheelMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
  switch (message) {
    case WM_INITDIALOG:
      SetUpWindow();
      return FALSE;
    case WM_SIZE:
      if (list_) MoveWindow(list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return TRUE;
    case WM_SETFOCUS:
      if (list_) SetFocus(list_);
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, OnNotify(reinterpret_cast<NMHDR *>(lParam)));
      return TRUE;
    case WM_CONTEXTMENU: {
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      OnContextMenu(point, lParam == -1);
      return TRUE;
    }
    case WM_COMMAND:
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) != list_) OnCommand(LOWORD(wParam), HIWORD(wParam) == 1);
      return TRUE;
    case WM_MOUSEWHEEL:
      OnWheel(static_cast<short>(HIWORD(wParam)));
      return TRUE;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWHEELSCROLLLINES) ReadWheelScrollLines();
      return FALSE;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return TRUE;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      return TRUE;
    case WM_DESTROY:
      if (list_) {
        ListView_DeleteAllItems(list_);
        if (dropTarget_) RevokeDragDrop(list_);
      }
      dropTarget_.Reset();
      dialogBrowser_.Reset();
      return TRUE;
  }
  if (message == kWheelMessage && kWheelMessage) {
    OnWheel(static_cast<short>(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace camfolder
