#include "window.h"

#include <commctrl.h>

#include "win_app.h"

namespace winfx {

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CWnd::~CWnd() { UnsubclassWindow(); }

bool CWnd::SubclassDlgItem(int id, HWND parent) {
  UnsubclassWindow();
  HWND control = GetDlgItem(parent, id);
  if (!control || !SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  window_ = control;
  return true;
}

void CWnd::UnsubclassWindow() {
  if (window_) RemoveWindowSubclass(window_, SubclassProc, kSubclassId);
  window_ = nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
  auto *object = reinterpret_cast<CWnd *>(self);
  LRESULT result = 0;
  try {
    result = object->WindowProc(message, wParam, lParam);
  } catch (...) {
    ParkException(window);
  }
  if (message == WM_NCDESTROY) object->UnsubclassWindow();
  return result;
}

}  // namespace winfx
