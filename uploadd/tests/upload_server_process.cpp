#include "upload_server_process.h"

#include "child_process.h"

namespace {

constexpr DWORD kWaitMs = 30000;
// Its window may take minutes to appear when Wine runs under emulation.
constexpr DWORD kStartMs = 300000;
constexpr int kStartButton = 1007;
constexpr int kQuitButton = 1008;
constexpr int kConnectionList = 1006;
constexpr int kMessageBoxText = 0xFFFF;

struct WindowSearch {
  DWORD processId;
  HWND exclude;
  HWND found;
};

BOOL CALLBACK MatchProcessDialog(HWND window, LPARAM parameter) {
  auto *s = reinterpret_cast<WindowSearch *>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char title[64] = "", className[16] = "";
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, className, sizeof className);
  if (owner == s->processId && window != s->exclude && std::string(className) == "#32770" &&
      std::string(title) == "Lumo Direct upload") {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}

// A top-level dialog of the process titled "Lumo Direct upload", other than exclude.
HWND FindProcessDialog(DWORD processId, HWND exclude) {
  WindowSearch search{processId, exclude, nullptr};
  EnumWindows(MatchProcessDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

void UploadServerProcess::WriteProfile(const std::string &rootDirectory, const std::string &logFile) {
  unique_hkey key;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VEMLO\\uploadd\\Configuration", 0, nullptr, 0, KEY_SET_VALUE,
                  nullptr, key.put(), nullptr);
  RegSetValueExA(key.get(), "ROOTPATH", 0, REG_SZ, reinterpret_cast<const BYTE *>(rootDirectory.c_str()),
                 static_cast<DWORD>(rootDirectory.size() + 1));
  RegSetValueExA(key.get(), "LOGFILE", 0, REG_SZ, reinterpret_cast<const BYTE *>(logFile.c_str()),
                 static_cast<DWORD>(logFile.size() + 1));
}

UploadServerProcess::UploadServerProcess(const std::string &rootDirectory, const std::string &logFile,
                                         const std::string &workingDirectory) {
  WriteProfile(rootDirectory, logFile);
  // Named with its folder, so that another working directory still finds it.
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  std::string commandLine = std::string(program, length);
  commandLine = "\"" + commandLine.substr(0, commandLine.find_last_of('\\') + 1) + "uploadd.exe\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION info{};
  if (!StartProcess(commandLine, FALSE, startup, info, workingDirectory.empty() ? nullptr : workingDirectory.c_str()))
    return;
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  processId_ = info.dwProcessId;
  // The dialog is ready once it is shown: its controls exist from then on.
  for (DWORD waited = 0; waited < kStartMs && !window_; waited += 50) {
    HWND found = FindProcessDialog(processId_, nullptr);
    if (found && IsWindowVisible(found) && GetDlgItem(found, kStartButton)) window_ = found;
    else Sleep(50);
  }
}

UploadServerProcess::~UploadServerProcess() {
  if (!process_ || ProcessEnded(0)) return;
  if (!PressQuit()) TerminateProcess(process_.get(), 1);
  WaitForSingleObject(process_.get(), kWaitMs);
}

bool UploadServerProcess::ProcessEnded(DWORD timeoutMs) {
  return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

void UploadServerProcess::PressButton(int id) {
  PostMessageA(GetDlgItem(window_, id), BM_CLICK, 0, 0);
}

std::string UploadServerProcess::PressStart() {
  PressButton(kStartButton);
  for (DWORD waited = 0; waited < kWaitMs; waited += 20) {
    if (!IsWindowEnabled(GetDlgItem(window_, kStartButton))) return "";
    if (HWND box = FindProcessDialog(processId_, window_)) {
      char text[256] = "";
      GetDlgItemTextA(box, kMessageBoxText, text, sizeof text);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return text[0] ? text : "(empty message box)";
    }
    Sleep(20);
  }
  return "(no reaction to Start)";
}

bool UploadServerProcess::PressQuit() {
  if (!window_) return false;
  PressButton(kQuitButton);
  return ProcessEnded(kWaitMs);
}

// Reading list lines of another process is not marshalled everywhere;
// searching for an exact line is.
int UploadServerProcess::ConnectionCount() const {
  DWORD_PTR count = 0;
  SendMessageTimeoutA(GetDlgItem(window_, kConnectionList), LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &count);
  return static_cast<int>(count);
}

bool UploadServerProcess::HasConnectionLine(const std::string &rest) const {
  HWND list = GetDlgItem(window_, kConnectionList);
  for (int number = 1; number <= 200; ++number) {
    const std::string line = std::to_string(number) + ". " + rest;
    DWORD_PTR index = static_cast<DWORD_PTR>(LB_ERR);
    SendMessageTimeoutA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(line.c_str()),
                        SMTO_ABORTIFHUNG, kWaitMs, &index);
    if (static_cast<LRESULT>(index) != LB_ERR) return true;
  }
  return false;
}
