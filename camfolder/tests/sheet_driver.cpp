#include "sheet_driver.h"

#include "shell_fixture.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdlib>
#include <iterator>

#include "camsim_process.h"
#include "dialog_script.h"
#include "unix_paths.h"
#include "window_text.h"

namespace {

std::string TextOf(HWND window) { return WindowTextUtf8(window); }

}  // namespace

HWND FindSheet() {
  // A sheet is a dialog with a tab control; message boxes have none.
  return VisibleDialogOfThisProcess(
      [](HWND dialog) { return FindWindowExA(dialog, nullptr, WC_TABCONTROLA, nullptr) != nullptr; });
}

HWND Sheet::Page() const { return PropSheet_GetCurrentPageHwnd(window_); }
std::string Sheet::Caption() const { return TextOf(window_); }

int Sheet::PageCount() const {
  return static_cast<int>(TabCtrl_GetItemCount(PropSheet_GetTabControl(window_)));
}

std::string Sheet::TabText(int index) const {
  wchar_t text[256] = L"";
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = std::size(text);
  SendMessageW(PropSheet_GetTabControl(window_), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return Utf8(text);
}

void Sheet::SelectPage(int index) const { PropSheet_SetCurSel(window_, nullptr, index); }

std::string Sheet::Text(int id) const { return TextOf(Control(id)); }
LRESULT Sheet::Check(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0); }
void Sheet::Click(int id) const { SendMessageA(Control(id), BM_CLICK, 0, 0); }

void Sheet::Choose(int comboId, int index) const {
  SendMessageA(Control(comboId), CB_SETCURSEL, index, 0);
  SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Control(comboId)));
}

void Sheet::SetText(int id, const std::string &text) const { SetWindowTextA(Control(id), text.c_str()); }

bool Sheet::ApplyEnabled() const {
  constexpr int kApplyButton = 0x3021;
  return IsWindowEnabled(GetDlgItem(window_, kApplyButton)) != FALSE;
}

void Sheet::Ok() const { PostMessageA(window_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
void Sheet::Cancel() const { PostMessageA(window_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

void Sheet::Screenshot(const std::string &name) const { ScreenshotForReview(window_, name); }

SheetDriver::SheetDriver(std::function<void(Sheet &)> drive, DWORD timeoutMs)
    : thread_([this, drive = std::move(drive), timeoutMs] {
        const DWORD start = GetTickCount();
        HWND window = nullptr;
        while (!(window = FindSheet()) && GetTickCount() - start < timeoutMs) Sleep(50);
        if (!window) return;
        // A sheet may be visible before its first page is filled.
        while (!PropSheet_GetCurrentPageHwnd(window) && GetTickCount() - start < timeoutMs) Sleep(50);
        Sleep(200);
        seen_ = true;
        Sheet sheet(window);
        drive(sheet);
        // Whatever the drive left open is closed, so that the test goes on.
        Sleep(300);
        if (IsWindow(window) && IsWindowVisible(window)) sheet.Cancel();
      }) {}

SheetDriver::~SheetDriver() {
  if (thread_.joinable()) thread_.join();
}

bool SheetDriver::Seen() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}
