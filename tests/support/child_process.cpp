#include "child_process.h"

BOOL StartProcess(std::string commandLine, BOOL inheritHandles, STARTUPINFOA &startup, PROCESS_INFORMATION &process,
                  const char *folder) {
  for (int attempt = 0;; ++attempt) {
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inheritHandles, 0, nullptr, folder, &startup,
                       &process))
      return TRUE;
    if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 2) return FALSE;
    Sleep(200);
  }
}

bool ChildProcess::Start(const std::string &commandLine) {
  Stop();
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!StartProcess(commandLine, FALSE, si, pi)) return false;
  CloseHandle(pi.hThread);
  process_.reset(pi.hProcess);
  id_ = pi.dwProcessId;
  return true;
}

bool ChildProcess::Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

DWORD ChildProcess::Wait(DWORD timeoutMs) {
  if (!process_) return 0;
  if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

void ChildProcess::Stop() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }
  process_.reset();
}

HWND WaitForWindow(const char *caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    if (HWND window = FindWindowA(nullptr, caption)) return window;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

void PressButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
