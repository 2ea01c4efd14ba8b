// A named paging-file block with its two mutexes. The "_MUTEX_READ" mutex is
// the one lock that serialises every access to the block, by readers and
// writers alike; the "_MUTEX_WRITE" mutex is never waited on and only marks
// that the holder may lock for writing.
#pragma once

#include <windows.h>

#include <cstddef>

class CSharedMemory {
 public:
  CSharedMemory() = default;
  CSharedMemory(const CSharedMemory &) = delete;
  CSharedMemory &operator=(const CSharedMemory &) = delete;
  virtual ~CSharedMemory();

  // Creates (or opens an existing) block of the given page protection and size
  // on the given file. A new block is filled with zero bytes; an existing one
  // is reused as it is. An empty name makes an unnamed block whose locks are
  // the mutexes "_MUTEX_READ" and "_MUTEX_WRITE". Returns the mapping or none.
  HANDLE Create(const char *name, DWORD protection, DWORD size, HANDLE file = INVALID_HANDLE_VALUE);
  // Opens an existing block with FILE_MAP_READ, FILE_MAP_WRITE or FILE_MAP_ALL_ACCESS.
  HANDLE Open(const char *name, DWORD access);
  // Maps the whole block under the read lock; returns the view, or none.
  void *Lock(bool forWriting);
  // As Lock, but none at once when another thread holds the read lock.
  void *TryLock(bool forWriting);
  void Unlock(void **view = nullptr);
  void Close();

  // Bytes actually mapped by the current view (whole pages), 0 when unlocked.
  // A reused block may be smaller than its new user expects.
  size_t ViewSize() const;

 private:
  bool OpenMutexes(const char *name, bool withWriteMutex);
  void *LockWithin(bool forWriting, DWORD timeoutMs);

  void *view_ = nullptr;
  HANDLE writeMutex_ = nullptr;
  HANDLE readLock_ = nullptr;
  HANDLE mapping_ = nullptr;
};
