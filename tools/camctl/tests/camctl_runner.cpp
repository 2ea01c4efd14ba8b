#include "camctl_runner.h"

#include "child_process.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "win_raii.h"

namespace {

constexpr DWORD kRunTimeoutMs = 120000;

std::string ReadWhole(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The console program writes text-mode "\r\n" line ends.
std::string WithUnixLineEnds(const std::string &text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) result += text[i];
  return result;
}

// One argument in double quotes: backslashes before a quote (or the closing
// quote) are doubled and quotes escaped, so the child sees it unchanged.
std::string Quoted(const std::string &argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

// A file handle the child inherits as one of its standard handles.
unique_file InheritableFile(const std::string &path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return unique_file(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

CamctlProcess::~CamctlProcess() {
  if (process_) Finish();
}

bool CamctlProcess::Start(const std::vector<std::string> &arguments, const std::string &input) {
  static unsigned counter = 0;
  stem_ = "camctl_run_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
  {
    std::ofstream in(stem_ + ".in", std::ios::binary);
    in << input;
  }
  unique_file in = InheritableFile(stem_ + ".in", GENERIC_READ, OPEN_EXISTING);
  unique_file out = InheritableFile(stem_ + ".out", GENERIC_WRITE, CREATE_ALWAYS);
  unique_file err = InheritableFile(stem_ + ".err", GENERIC_WRITE, CREATE_ALWAYS);
  std::string line = "camctl.exe";
  for (const std::string &argument : arguments) line += " " + Quoted(argument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.get();
  startup.hStdOutput = out.get();
  startup.hStdError = err.get();
  PROCESS_INFORMATION process{};
  if (!StartProcess(line, TRUE, startup, process)) return false;
  CloseHandle(process.hThread);
  process_ = process.hProcess;
  return true;
}

CamctlRun CamctlProcess::Finish() {
  CamctlRun run;
  if (!process_) {
    run.exitCode = 0xDEAD;
    run.err = "camctl.exe was not started";
    return run;
  }
  unique_handle process(static_cast<HANDLE>(process_));
  process_ = nullptr;
  if (WaitForSingleObject(process.get(), kRunTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 0xDEAD);
    WaitForSingleObject(process.get(), 10000);
  }
  GetExitCodeProcess(process.get(), &run.exitCode);
  run.rawOut = ReadWhole(stem_ + ".out");
  run.out = WithUnixLineEnds(run.rawOut);
  run.err = WithUnixLineEnds(ReadWhole(stem_ + ".err"));
  for (const char *suffix : {".in", ".out", ".err"}) DeleteFileA((stem_ + suffix).c_str());
  return run;
}

CamctlRun RunCamctl(const std::vector<std::string> &arguments, const std::string &input) {
  CamctlProcess camctl;
  if (!camctl.Start(arguments, input)) {
    CamctlRun run;
    run.exitCode = GetLastError();
    run.err = "cannot start camctl.exe";
    return run;
  }
  return camctl.Finish();
}

void StopLinkHost(const std::string &address) {
  const std::string title = "ZL1_ZLtpProxyServer - " + address;
  HWND window = FindWindowA("ZL1_ZLtpProxyServer", title.c_str());
  if (!window) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  unique_handle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (process) WaitForSingleObject(process.get(), 30000);
}
