// A dialog window over a dialog template of the program's resources (or of
// the module of the application object, winfx/win_app.h). Derived classes
// override the handlers; the object lives as long as its window. An
// exception thrown by a handler ends the dialog and leaves DoModal.
#pragma once

#include <windows.h>

#include <string>

namespace winfx {

class CDialog {
 public:
  CDialog(int templateId, HWND parent = nullptr);
  virtual ~CDialog() = default;
  CDialog(const CDialog &) = delete;
  CDialog &operator=(const CDialog &) = delete;

  // Runs the dialog modally; returns the value given to EndDialog, or -1
  // when the window could not be created.
  INT_PTR DoModal();
  void EndDialog(INT_PTR result);

  HWND GetSafeHwnd() const { return window_; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(window_, id); }
  std::string GetItemText(int id) const;
  void SetItemText(int id, const std::string &text);
  void EnableItem(int id, bool enable);
  // Moves the focus to a control the way the dialog's keyboard interface does.
  void GotoDlgCtrl(HWND control);
  // Shows a message box owned by this dialog.
  int ShowMessage(const std::string &text, UINT type = MB_OK | MB_ICONEXCLAMATION);

  // Called for messages of this dialog and its controls before they are
  // dispatched, when a module's application object pre-translates them
  // (winfx/win_app.h); TRUE when handled. The default gives keyboard and
  // mouse input the dialog's keyboard interface (IsDialogMessage).
  virtual BOOL PreTranslateMessage(MSG *message);

 protected:
  // Called once the window and its controls exist; return TRUE to let the
  // system put the focus on the first control.
  virtual BOOL OnInitDialog() { return TRUE; }
  // WM_COMMAND from a control or the keyboard; the default ends the dialog
  // on IDOK and IDCANCEL.
  virtual void OnCommand(int id, int notifyCode);
  // Any other message; return true when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return false; }
  virtual void OnDestroy() {}

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND parent_;
  HWND window_ = nullptr;
};

}  // namespace winfx
