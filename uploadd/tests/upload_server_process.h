// Test harness: uploadd.exe as a real process with a test profile, driven
// through its window like a user, and cleaned up whatever happens.
#pragma once

#include <windows.h>

#include <string>

#include "win_raii.h"

class UploadServerProcess {
 public:
  // Writes the profile (root directory and log file), starts uploadd.exe
  // (in workingDirectory when one is given) and waits for its window.
  UploadServerProcess(const std::string &rootDirectory, const std::string &logFile,
                      const std::string &workingDirectory = "");
  // Quits through the window, or ends the process when it does not react.
  ~UploadServerProcess();
  UploadServerProcess(const UploadServerProcess &) = delete;
  UploadServerProcess &operator=(const UploadServerProcess &) = delete;

  bool HasWindow() const { return window_ != nullptr; }
  // Presses Start; returns "" once the server listens, or the text of the
  // error box that appeared (the box is then closed).
  std::string PressStart();
  // Presses Quit and waits for the process to end.
  bool PressQuit();
  HWND Window() const { return window_; }
  // Number of lines in the window's connection list.
  int ConnectionCount() const;
  // Whether the list holds "N. " + rest for some connection number N.
  bool HasConnectionLine(const std::string &rest) const;

  static void WriteProfile(const std::string &rootDirectory, const std::string &logFile);

 private:
  void PressButton(int id);
  bool ProcessEnded(DWORD timeoutMs);

  unique_handle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};
