// Watches the uploads of one control connection, one at a time: when the
// running upload's data connection shows no activity for 30 seconds, the
// window is asked to close the whole control connection. One thread serves
// every upload of the connection, as starting and ending a thread per
// upload took longer than receiving a megabyte.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>

#include "win_raii.h"

class TransferWatchdog {
 public:
  static constexpr DWORD kSilenceLimitMs = 30000;

  TransferWatchdog() = default;
  ~TransferWatchdog();
  TransferWatchdog(const TransferWatchdog &) = delete;
  TransferWatchdog &operator=(const TransferWatchdog &) = delete;

  // Watches a new upload (starting the thread on first use); on silence it
  // posts closeMessage with the connection number as second parameter to
  // window. False when the thread cannot be started.
  bool Start(HWND window, UINT closeMessage, unsigned connectionNumber);
  // Activity on the data connection: the 30 seconds start again.
  void Signal() { lastActivity_ = GetTickCount64(); }
  // Ends the watch of the upload: once it returns, no silence is reported for it.
  void Stop();

 private:
  static DWORD WINAPI Run(void *self);
  // How long to sleep before looking again; posts when the limit is reached.
  DWORD Check();

  std::mutex mutex_;  // guards the fields below and every post
  bool watching_ = false;
  bool ending_ = false;
  HWND window_ = nullptr;
  UINT message_ = 0;
  unsigned number_ = 0;

  std::atomic<ULONGLONG> lastActivity_{0};
  unique_handle wake_;  // auto-reset: the end
  unique_handle thread_;
};
