// Watches one upload: when its data connection shows no activity for 30
// seconds, the window is asked to close the whole control connection.
#pragma once

#include <windows.h>

#include <atomic>

#include "win_raii.h"

class TransferWatchdog {
 public:
  static constexpr DWORD kSilenceLimitMs = 30000;

  TransferWatchdog() = default;
  ~TransferWatchdog() { Stop(); }
  TransferWatchdog(const TransferWatchdog &) = delete;
  TransferWatchdog &operator=(const TransferWatchdog &) = delete;

  // Starts the thread; on silence it posts closeMessage with the connection
  // number as second parameter to window.
  bool Start(HWND window, UINT closeMessage, unsigned connectionNumber);
  // Activity on the data connection: the 30 seconds start again.
  void Signal();
  // Ends the watch and waits for the thread, so it never fires afterwards.
  void Stop();

 private:
  static DWORD WINAPI Run(void *self);

  std::atomic<bool> active_{false};
  unique_handle event_;
  unique_handle thread_;
  HWND window_ = nullptr;
  UINT message_ = 0;
  unsigned number_ = 0;
};
