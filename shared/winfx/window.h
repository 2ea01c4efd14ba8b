// A window of another class taken over by an object (the framework's
// subclassing): its messages reach WindowProc first, and what that does not
// handle goes to the class's own procedure. The object lets go of the window
// when either of them is destroyed.
#pragma once

#include <windows.h>

namespace winfx {

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd &) = delete;
  CWnd &operator=(const CWnd &) = delete;

  // Takes over control `id` of the dialog `parent`.
  bool SubclassDlgItem(int id, HWND parent);
  void UnsubclassWindow();
  HWND GetSafeHwnd() const { return window_; }

 protected:
  // Every message of the window; the default passes it to the class.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The class's own handling of the message.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  HWND window_ = nullptr;
};

}  // namespace winfx
