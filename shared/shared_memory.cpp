#include "shared_memory.h"

#include <cstring>

#include "channel_names.h"

CSharedMemory::~CSharedMemory() { Close(); }

bool CSharedMemory::OpenMutexes(const char *name, bool withWriteMutex) {
  const auto readName = ReadLockName(name);
  if (!readName) return false;
  readLock_ = CreateMutexA(nullptr, FALSE, readName->c_str());
  if (!readLock_) return false;
  if (withWriteMutex) {
    const auto writeName = WriteMutexName(name);
    writeMutex_ = writeName ? CreateMutexA(nullptr, FALSE, writeName->c_str()) : nullptr;
    if (!writeMutex_) {
      CloseHandle(readLock_);
      readLock_ = nullptr;
      return false;
    }
  }
  return true;
}

HANDLE CSharedMemory::Create(const char *name, DWORD protection, DWORD size, HANDLE file) {
  if (view_ || writeMutex_ || readLock_ || mapping_ || !name) return nullptr;
  if (!OpenMutexes(name, (protection & PAGE_READWRITE) != 0)) return nullptr;
  mapping_ = CreateFileMappingA(file, nullptr, protection, 0, size, *name ? name : nullptr);
  if (!mapping_) {
    Close();
    return nullptr;
  }
  if (GetLastError() != ERROR_ALREADY_EXISTS) {
    if (void *block = Lock(true)) {
      std::memset(block, 0, size);
      Unlock();
    }
  }
  return mapping_;
}

HANDLE CSharedMemory::Open(const char *name, DWORD access) {
  if (view_ || writeMutex_ || readLock_ || mapping_ || !name) return nullptr;
  const bool write = access == FILE_MAP_WRITE || access == FILE_MAP_ALL_ACCESS;
  if (!OpenMutexes(name, write)) return nullptr;
  mapping_ = OpenFileMappingA(access, TRUE, name);
  if (!mapping_) Close();
  return mapping_;
}

void *CSharedMemory::Lock(bool forWriting) { return LockWithin(forWriting, INFINITE); }

void *CSharedMemory::TryLock(bool forWriting) { return LockWithin(forWriting, 0); }

void *CSharedMemory::LockWithin(bool forWriting, DWORD timeoutMs) {
  if (!mapping_) return nullptr;
  if (view_) return view_;
  if (forWriting && !writeMutex_) return nullptr;
  // An abandoned lock (its holder died) is owned all the same.
  const DWORD waited = WaitForSingleObject(readLock_, timeoutMs);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return nullptr;
  view_ = MapViewOfFile(mapping_, forWriting ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, 0);
  if (!view_) ReleaseMutex(readLock_);  // never keep the lock without a view
  return view_;
}

void CSharedMemory::Unlock(void **view) {
  if (view_) {
    UnmapViewOfFile(view_);
    view_ = nullptr;
    ReleaseMutex(readLock_);
    if (writeMutex_) ReleaseMutex(writeMutex_);  // fails harmlessly: nobody owns it
  }
  if (view) *view = nullptr;
}

void CSharedMemory::Close() {
  if (view_) Unlock();
  for (HANDLE *h : {&readLock_, &writeMutex_, &mapping_}) {
    if (*h) CloseHandle(*h);
    *h = nullptr;
  }
}

size_t CSharedMemory::ViewSize() const {
  MEMORY_BASIC_INFORMATION info;
  if (!view_ || VirtualQuery(view_, &info, sizeof info) != sizeof info) return 0;
  return info.RegionSize;
}
