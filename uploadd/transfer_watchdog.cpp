#include "transfer_watchdog.h"

TransferWatchdog::~TransferWatchdog() {
  if (!thread_) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  SetEvent(wake_.get());
  WaitForSingleObject(thread_.get(), INFINITE);
}

bool TransferWatchdog::Start(HWND window, UINT closeMessage, unsigned connectionNumber) {
  if (!wake_) wake_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!wake_) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = window;
    message_ = closeMessage;
    number_ = connectionNumber;
    Signal();
    watching_ = true;
  }
  if (!thread_) thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
  if (thread_) return true;
  Stop();
  return false;
}

void TransferWatchdog::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  watching_ = false;
}

DWORD TransferWatchdog::Check() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!watching_) return kSilenceLimitMs;
  const ULONGLONG silent = GetTickCount64() - lastActivity_;
  if (silent < kSilenceLimitMs) return static_cast<DWORD>(kSilenceLimitMs - silent);
  watching_ = false;
  PostMessageA(window_, message_, 0, static_cast<LPARAM>(number_));
  return kSilenceLimitMs;
}

// Sleeps until the running upload could have been silent for the limit,
// and looks at the time of its last activity then. Idle, it looks every
// limit too: an upload started meanwhile is then looked at no later than
// its limit, so a start need not wake the thread (a switch of threads per
// upload on the window's time).
DWORD WINAPI TransferWatchdog::Run(void *parameter) {
  auto *self = static_cast<TransferWatchdog *>(parameter);
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(self->mutex_);
      if (self->ending_) return 0;
    }
    WaitForSingleObject(self->wake_.get(), self->Check());
  }
}
