// A value shared by the window thread and the transfer worker: every read and
// write happens inside its own critical section, held for that access only.
#pragma once

#include <windows.h>

template <typename T>
class GuardedValue {
 public:
  explicit GuardedValue(T initial = T{}) : value_(initial) { InitializeCriticalSection(&lock_); }
  virtual ~GuardedValue() { DeleteCriticalSection(&lock_); }
  GuardedValue(const GuardedValue &) = delete;
  GuardedValue &operator=(const GuardedValue &) = delete;

  T Get() {
    EnterCriticalSection(&lock_);
    T value = value_;
    LeaveCriticalSection(&lock_);
    return value;
  }
  void Set(T value) {
    EnterCriticalSection(&lock_);
    value_ = value;
    LeaveCriticalSection(&lock_);
  }

 private:
  CRITICAL_SECTION lock_;
  T value_;
};
