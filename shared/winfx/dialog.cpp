#include "dialog.h"

#include <vector>

namespace winfx {

CDialog::CDialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

INT_PTR CDialog::DoModal() {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent_, DialogProc,
                         reinterpret_cast<LPARAM>(this));
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

int CDialog::ShowMessage(const std::string &text, UINT type) {
  char caption[256] = "";
  GetWindowTextA(window_, caption, sizeof caption);
  return MessageBoxA(window_, text.c_str(), caption, type);
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
  }
  if (!self) return FALSE;
  const INT_PTR result = self->Handle(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
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
