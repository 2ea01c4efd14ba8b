// The procedure every property page of this module runs. A page type names
// its data (Data) and says what the page does:
//   static void Show(HWND page, Data &data);            // at WM_INITDIALOG
//   static bool Command(HWND page, Data &data, WPARAM); // true when handled
//   static LONG_PTR Apply(HWND page, Data &data);       // PSN_APPLY's result
// The sheet's other notifications are answered alike for every page, and no
// exception leaves for the window manager's frames.
#pragma once

#include <windows.h>
#include <prsht.h>

#include "export_guard.h"
#include "sheets/sheet_support.h"

namespace camfolder {

template <typename Page>
INT_PTR HandlePage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  using Data = typename Page::Data;
  switch (message) {
    case WM_INITDIALOG:
      Page::Show(window, *TakePageData<Data>(window, lParam));
      return TRUE;
    case WM_COMMAND: {
      Data *data = PageData<Data>(window);
      return data && Page::Command(window, *data, wParam) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      Data *data = PageData<Data>(window);
      if (!data) return FALSE;
      switch (reinterpret_cast<const NMHDR *>(lParam)->code) {
        case PSN_APPLY:
          return PageResult(window, Page::Apply(window, *data));
        case PSN_SETACTIVE:
        case PSN_KILLACTIVE:
        case PSN_RESET:
        case PSN_QUERYCANCEL:
          return PageResult(window, FALSE);
      }
      return FALSE;
    }
  }
  return FALSE;
}

template <typename Page>
INT_PTR CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunExport<INT_PTR>(FALSE, [&] { return HandlePage<Page>(window, message, wParam, lParam); });
}

}  // namespace camfolder
