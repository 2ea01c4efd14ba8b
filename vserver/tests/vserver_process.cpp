#include "vserver_process.h"

#include "child_process.h"

namespace {

constexpr char kTitle[] = "Lumo virtual server process (Ver1.00)";
constexpr int kButton = 1002;
constexpr int kEventLog = 1011;
constexpr int kPortCombo = 1009;

// The dialog of the process with the caption, or null.
struct FoundWindow {
  DWORD processId;
  const char *caption;
  HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
  auto *found = reinterpret_cast<FoundWindow *>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[128] = "";
  GetWindowTextA(window, caption, sizeof caption);
  if (owner == found->processId && std::string(caption) == found->caption) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOf(DWORD processId, const char *caption) {
  FoundWindow found{processId, caption, nullptr};
  EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

}  // namespace

bool VserverProcess::Start(const std::string &arguments, std::string &error) {
  std::string line = "vserver.exe " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!StartProcess(line, FALSE, startup, process_)) {
    error = "cannot start vserver.exe: " + std::to_string(GetLastError());
    return false;
  }
  // The dialog exists before its controls: wait for the button too.
  if (!WaitUntil(
          [&] {
            window_ = FindWindowOf(process_.dwProcessId, kTitle);
            return window_ && !ItemText(kButton).empty();
          },
          15000)) {
    error = "vserver.exe showed no window";
    return false;
  }
  return true;
}

bool VserverProcess::Close(DWORD timeoutMs) {
  if (!process_.hProcess) return true;
  if (window_) PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
  bool ended = WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process_.hProcess, 99);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
  window_ = nullptr;
  return ended;
}

std::vector<std::string> VserverProcess::LogLines() const {
  std::vector<std::string> lines;
  HWND list = GetDlgItem(window_, kEventLog);
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    char utf8[2048] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    lines.push_back(utf8);
  }
  return lines;
}

bool VserverProcess::WaitForLog(const std::string &text, DWORD timeoutMs) const {
  return WaitUntil(
      [&] {
        for (const std::string &line : LogLines())
          if (line.find(text) != std::string::npos) return true;
        return false;
      },
      timeoutMs);
}

std::string VserverProcess::ItemText(int id) const {
  char text[256] = "";
  GetDlgItemTextA(window_, id, text, sizeof text);
  return text;
}

bool VserverProcess::WaitForButton(const std::string &text, DWORD timeoutMs) const {
  return WaitUntil([&] { return ItemText(kButton) == text; }, timeoutMs);
}

bool VserverProcess::PressStartStop(const std::string &portName, std::string &error) {
  PostMessageA(window_, WM_COMMAND, kButton, 0);
  if (portName.empty()) return true;
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = FindWindowOf(process_.dwProcessId, "SELECT COM")) != nullptr; }, 10000)) {
    error = "the port dialog did not come";
    return false;
  }
  HWND combo = GetDlgItem(dialog, kPortCombo);
  if (SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(portName.c_str())) ==
      CB_ERR) {
    error = "the port dialog does not offer " + portName;
    return false;
  }
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return true;
}
