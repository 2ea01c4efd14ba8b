#include "dialog.h"

#include <vector>

#include "win_app.h"

namespace winfx {

CDialog::CDialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

INT_PTR CDialog::DoModal() {
  ModalMessageFilter filter;
  const INT_PTR result = DialogBoxParamA(GetResourceHandle(), MAKEINTRESOURCEA(templateId_), parent_, DialogProc,
                                         reinterpret_cast<LPARAM>(this));
  RethrowParkedException();
  return result;
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(window_, result); }

std::string CDialog::GetItemText(int id) const {
  HWND control = GetDlgItem(id);
  const int length = control ? GetWindowTextLengthA(control) : 0;
  if (length <= 0) return {};
  std::vector<char> text(static_cast<size_t>(length) + 1);
  const int copied = GetWindowTextA(control, text.data(), length + 1);
  return std::string(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void CDialog::SetItemText(int id, const std::string &text) { SetDlgItemTextA(window_, id, text.c_str()); }

void CDialog::EnableItem(int id, bool enable) { EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE); }

void CDialog::GotoDlgCtrl(HWND control) { SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE); }

int CDialog::ShowMessage(const std::string &text, UINT type) {
  char caption[256] = "";
  GetWindowTextA(window_, caption, sizeof caption);
  return MessageBoxA(window_, text.c_str(), caption, type);
}

BOOL CDialog::PreTranslateMessage(MSG *message) {
  const bool input = (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) ||
                     (message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST);
  if (!input || !window_ || (message->hwnd != window_ && !IsChild(window_, message->hwnd))) return FALSE;
  return IsDialogMessageA(window_, message);
}

void CDialog::OnCommand(int id, int) {
  if (id == IDOK || id == IDCANCEL) EndDialog(id);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *self = reinterpret_cast<CDialog *>(GetWindowLongPtrA(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog *>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->window_ = window;
    if (CWinApp *app = GetApp()) app->AddDialog(self);
  }
  if (!self) return FALSE;
  INT_PTR result = FALSE;
  try {
    result = self->Handle(message, wParam, lParam);
  } catch (...) {
    ParkException(window);
  }
  if (message == WM_NCDESTROY) {
    if (CWinApp *app = GetApp()) app->RemoveDialog(self);
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

INT_PTR CDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    default:
      return OnMessage(message, wParam, lParam) ? TRUE : FALSE;
  }
}

}  // namespace winfx
