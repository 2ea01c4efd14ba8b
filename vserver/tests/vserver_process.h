// Runs vserver.exe for a test and works its window as a user would: the
// Start/Stop button, the port dialog, the event log and the statistics.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class VserverProcess {
 public:
  VserverProcess() = default;
  VserverProcess(const VserverProcess &) = delete;
  VserverProcess &operator=(const VserverProcess &) = delete;
  ~VserverProcess() { Close(); }

  // Starts the program and waits for its window.
  bool Start(const std::string &arguments, std::string &error);
  // Ends the program through its window (closing a running server first).
  bool Close(DWORD timeoutMs = 20000);
  HWND Window() const { return window_; }

  std::vector<std::string> LogLines() const;
  // Waits until a log line contains the text; false on time-out.
  bool WaitForLog(const std::string &text, DWORD timeoutMs) const;
  std::string ItemText(int id) const;
  bool WaitForButton(const std::string &text, DWORD timeoutMs) const;
  // Presses Start/Stop; when the port dialog comes, chooses portName and OK.
  bool PressStartStop(const std::string &portName, std::string &error);

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// Polls the condition every 20 ms until it holds or the time is up.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}
