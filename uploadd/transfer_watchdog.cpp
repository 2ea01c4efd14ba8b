#include "transfer_watchdog.h"

bool TransferWatchdog::Start(HWND window, UINT closeMessage, unsigned connectionNumber) {
  Stop();
  window_ = window;
  message_ = closeMessage;
  number_ = connectionNumber;
  event_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!event_) return false;
  active_ = true;
  thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
  if (thread_) return true;
  active_ = false;
  event_.reset();
  return false;
}

void TransferWatchdog::Signal() {
  if (event_) SetEvent(event_.get());
}

void TransferWatchdog::Stop() {
  active_ = false;
  Signal();
  if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  event_.reset();
}

// The event is reset before the flag is read: a stop that signals in
// between then still finds the event set, so it is never lost (and the
// window never waits out a silence limit for a transfer that has ended).
DWORD WINAPI TransferWatchdog::Run(void *parameter) {
  auto *self = static_cast<TransferWatchdog *>(parameter);
  for (;;) {
    const DWORD waited = WaitForSingleObject(self->event_.get(), kSilenceLimitMs);
    if (!self->active_) return 0;
    if (waited == WAIT_TIMEOUT) {
      PostMessageA(self->window_, self->message_, 0, static_cast<LPARAM>(self->number_));
      return 0;
    }
    ResetEvent(self->event_.get());
    if (!self->active_) return 0;
  }
}
