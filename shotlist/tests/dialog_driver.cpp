#include "dialog_driver.h"

#include <gtest/gtest.h>

namespace {

struct Search {
  const std::string *caption;  // nullptr: any dialog
  HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter) {
  auto &search = *reinterpret_cast<Search *>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(className) != "#32770") {
    return TRUE;
  }
  if (search.caption && WindowText(window) != *search.caption) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindOpenDialog(const std::string *caption) {
  Search search{caption};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

DialogDriver::DialogDriver(std::function<void()> script)
    : thread_([this, script = std::move(script)] {
        script();
        // Whatever is still open is cancelled, until the export has returned.
        while (!exportDone_) {
          if (HWND dialog = FindOpenDialog(nullptr)) {
            sawWindow_ = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(dialog, WM_COMMAND, IDNO, 0);  // a Yes/No box has no Cancel
          }
          Sleep(50);
        }
      }) {}

DialogDriver::~DialogDriver() {
  exportDone_ = true;
  thread_.join();
}

HWND WaitForDialog(const std::string &caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    if (HWND dialog = FindOpenDialog(&caption)) {
      // Let the dialog finish its initialisation before it is driven.
      SendMessageA(dialog, WM_NULL, 0, 0);
      return dialog;
    }
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  ADD_FAILURE() << "no dialog \"" << caption << "\"";
  return nullptr;
}

bool DialogOpen(const std::string &caption) { return FindOpenDialog(&caption) != nullptr; }

bool WaitUntilClosed(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{sizeof info};
  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::string WindowText(HWND window) {
  char text[4096] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::wstring WindowTextW(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  return text;
}

std::string MessageText(HWND box) {
  std::string longest;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    const std::string text = WindowText(child);
    if (std::string(className) == "Static" && text.size() > longest.size()) longest = text;
  }
  return longest;
}

std::vector<std::string> ListBoxRows(HWND list) {
  std::vector<std::string> rows;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    std::string text(size_t(SendMessageA(list, LB_GETTEXTLEN, row, 0)) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    rows.emplace_back(text.c_str());
  }
  return rows;
}

int ListBoxSelection(HWND list) { return int(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

void SelectListBoxRow(HWND list, int row) { SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0); }

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SetControlText(HWND dialog, int id, const std::string &text) {
  SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string AnswerMessageBox(const std::string &caption, int button) {
  HWND box = WaitForDialog(caption);
  if (!box) return "<no message box>";
  const std::string text = MessageText(box);
  Press(box, button);
  WaitUntilClosed(box);
  return text;
}
