// Test helper: a program started by a test, ended at the latest when the
// helper goes out of scope, so no test leaves a process behind.
#pragma once

#include <windows.h>

#include <string>

#include "win_raii.h"

class ChildProcess {
 public:
  ChildProcess() = default;
  explicit ChildProcess(const std::string &commandLine) { Start(commandLine); }
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess &) = delete;
  ChildProcess &operator=(const ChildProcess &) = delete;

  bool Start(const std::string &commandLine);
  bool Running() const;
  // Waits for the process to end; returns its exit code, or STILL_ACTIVE.
  DWORD Wait(DWORD timeoutMs);
  // Ends the process if it still runs.
  void Stop();
  DWORD Id() const { return id_; }

 private:
  unique_handle process_;
  DWORD id_ = 0;
};

// CreateProcessA of the command line (in the folder given, else in this
// process's), tried again when Wine fails the start under load with
// ERROR_INTERNAL_ERROR. Every test starts its processes through it.
BOOL StartProcess(std::string commandLine, BOOL inheritHandles, STARTUPINFOA &startup, PROCESS_INFORMATION &process,
                  const char *folder = nullptr);

// Waits for a visible top-level window with this caption (any class).
HWND WaitForWindow(const char *caption, DWORD timeoutMs);
// Presses a dialog button by its identifier (IDYES, IDNO, IDCANCEL, ...).
void PressButton(HWND dialog, int id);
