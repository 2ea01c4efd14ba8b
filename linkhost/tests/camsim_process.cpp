#include "camsim_process.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "child_process.h"

#ifndef CAMSIM_PATH
#error "CAMSIM_PATH must name the native camsim binary"
#endif

namespace {

constexpr DWORD kStartTimeout = 60000;
constexpr DWORD kShellTimeout = 60000;  // generous: a loaded machine starts processes slowly
constexpr unsigned kMaxLifetimeSeconds = 1200;  // beyond the longest test program under load
constexpr unsigned kIdleExitSeconds = 60;  // ends camsim soon after a test died

// The Windows name of a Unix path (Wine maps the Unix root to drive Z:).
std::string WindowsPath(const std::string &unixPath) {
  std::string path = "Z:" + unixPath;
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

bool Exists(const std::string &unixPath) {
  return GetFileAttributesA(WindowsPath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool WaitForFile(const std::string &unixPath, bool present, DWORD timeout) {
  const DWORD start = GetTickCount();
  while (Exists(unixPath) != present) {
    if (GetTickCount() - start > timeout) return false;
    Sleep(20);
  }
  return true;
}

bool StartShell(const std::string &command) {
  std::string line = "/bin/sh -c \"" + command + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!StartProcess(line, FALSE, startup, process)) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// The handle Wine returns for a Unix process cannot be waited on (the wait
// fails at once), so the command line touches a marker file when it is done.
bool RunShell(const std::string &command) {
  static LONG counter = 0;
  const std::string marker = "/tmp/lumo-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount()) + "-" + std::to_string(InterlockedIncrement(&counter));
  if (!StartShell("( " + command + " ); touch " + marker)) return false;
  const bool done = WaitForFile(marker, true, kShellTimeout);
  DeleteFileA(WindowsPath(marker).c_str());
  return done;
}

std::string CamsimProcess::NextAddress() {
  static unsigned counter = 0;
  ++counter;
  char text[32];
  std::snprintf(text, sizeof text, "127.%u.%u.%u", 10 + LUMO_TEST_NETWORK, counter / 250, 1 + counter % 250);
  return text;
}

bool CamsimProcess::Start(const std::string &address, const std::vector<std::string> &arguments,
                          std::string &error) {
  Stop();
  address_ = address;
  // Wine reuses small process numbers from run to run: the tick count keeps
  // the folder of a run apart from leftovers of a killed one.
  folder_ = "/tmp/zltp-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
            address;
  std::string command = "mkdir -p " + folder_ + " && rm -f " + folder_ + "/ready && exec " CAMSIM_PATH " --address " +
                        address + " --pid-file " + folder_ + "/pid --ready-file " + folder_ +
                        "/ready --idle-exit " + std::to_string(kIdleExitSeconds) + " --max-lifetime " + std::to_string(kMaxLifetimeSeconds);
  for (const std::string &argument : arguments) command += " '" + argument + "'";
  command += " 2>" + folder_ + "/log";
  if (!StartShell(command)) {
    error = "cannot start /bin/sh";
    return false;
  }
  if (!WaitForFile(folder_ + "/ready", true, kStartTimeout)) {
    error = "camsim did not come up on " + address + "; its log: " + Log();
    return false;
  }
  return true;
}

void CamsimProcess::Stop() {
  if (folder_.empty()) return;
  // camsim ends on SIGTERM; the wait for its pid file's removal would need
  // camsim's help, so wait for the kill command and remove the folder.
  RunShell("kill $(cat " + folder_ + "/pid) 2>/dev/null; while kill -0 $(cat " + folder_ +
           "/pid) 2>/dev/null; do sleep 0.05; done; rm -rf " + folder_);
  folder_.clear();
}

std::string CamsimProcess::Log() const {
  std::ifstream file(WindowsPath(folder_ + "/log"), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}
