#include "progress_dialog.h"

#include <cstdio>

#include "link_host.h"
#include "resource.h"

namespace {

// One dialog at a time: its owner and cancel event.
HWND g_owner = nullptr;
HANDLE g_cancelEvent = nullptr;

HWND TextControl(HWND dialog) {
  // The text control has the identifier -1, kept as 0xFFFF in the template.
  if (HWND text = GetDlgItem(dialog, -1)) return text;
  return GetDlgItem(dialog, 0xFFFF);
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto *record = reinterpret_cast<const ProgressDialogRecord *>(lParam);
      if (!record || !record->cancelEvent) return FALSE;
      g_owner = record->owner;
      g_cancelEvent = record->cancelEvent;
      HWND text = TextControl(dialog);
      char format[260] = {};
      GetWindowTextA(text, format, sizeof format);
      char shown[300];
      std::snprintf(shown, sizeof shown, format, record->current, record->total);
      SetWindowTextA(text, shown);
      PaintProgress(ProgressArea(dialog), 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        if (g_owner) EnableWindow(g_owner, TRUE);
        DestroyWindow(dialog);
        linkhost::g_progressDialog.Set(nullptr);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        SetEvent(g_cancelEvent);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      SetEvent(g_cancelEvent);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateProgressDialog(const ProgressDialogRecord &record) {
  return CreateDialogParamA(linkhost::g_moduleInstance.Get(), MAKEINTRESOURCEA(IDD_PROGRESS), record.owner,
                            ProgressDialogProc, reinterpret_cast<LPARAM>(&record));
}

HWND ProgressArea(HWND dialog) { return GetDlgItem(dialog, IDC_PROGRESS_AREA); }

void PaintProgress(HWND area, unsigned percent) {
  if (!area) return;
  HDC dc = GetDC(area);
  if (!dc) return;
  RECT client;
  GetClientRect(area, &client);
  const COLORREF colour = GetSysColor(COLOR_HIGHLIGHT);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  const LONG width = client.right - client.left;
  Rectangle(dc, client.left + 1, client.top + 1, client.left + 1 + (width - 2) * static_cast<LONG>(percent) / 100,
            client.bottom - 1);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  ReleaseDC(area, dc);
  DeleteObject(pen);
  DeleteObject(brush);
}
