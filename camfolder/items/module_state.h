// Process-wide state of the camera folder module: the instance, the object
// and lock counters behind DllCanUnloadNow, and the few values that every
// object of the process shares.
#pragma once

#include <windows.h>

#include <string>

#include "core/connection_settings.h"
#include "zlx_records.h"

namespace camfolder {

// A counter with its own critical section.
class GuardedCounter {
 public:
  GuardedCounter() { InitializeCriticalSection(&lock_); }
  ~GuardedCounter() { DeleteCriticalSection(&lock_); }
  GuardedCounter(const GuardedCounter &) = delete;
  GuardedCounter &operator=(const GuardedCounter &) = delete;
  void Increment();
  // Never below zero.
  void Decrement();
  long Value();

 private:
  CRITICAL_SECTION lock_;
  long value_ = 0;
};

GuardedCounter &ExtensionObjects();  // root extensions and their factories
GuardedCounter &FolderObjects();     // folders, enumerators, icons, views and their factories
GuardedCounter &ServerLocks();       // IClassFactory::LockServer

// Counts one live object of a class for as long as it exists.
class LiveObject {
 public:
  explicit LiveObject(GuardedCounter &counter) : counter_(counter) { counter_.Increment(); }
  ~LiveObject() { counter_.Decrement(); }
  LiveObject(const LiveObject &) = delete;
  LiveObject &operator=(const LiveObject &) = delete;

 private:
  GuardedCounter &counter_;
};

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// This module's file name (for icon locations).
std::string ModuleFileName();

// The shell's version: major in the high 16 bits, minor in the low; 0 when
// shell32 has no DllGetVersion.
DWORD ShellVersion();
constexpr DWORD ShellVersionOf(WORD major, WORD minor) { return (DWORD{major} << 16) | minor; }
// The common controls' version, in the same form.
DWORD CommonControlsVersion();

// The connection settings read at each DllGetClassObject.
ConnectionSettings &CurrentSettings();

// The window that owns the camera messages: the parent of the most recently
// created folder view (none until a view exists).
HWND MessageOwner();
void SetMessageOwner(HWND owner);

// Item n of m of the transfer in progress, for fetches made on the way.
struct ProgressCounters {
  DWORD current = 1;
  DWORD total = 1;
};
ProgressCounters &CurrentProgress();

// Lines a wheel notch scrolls (-1: a page), read at first use and again
// when the setting changes.
int WheelScrollLines();
void ReadWheelScrollLines();

// The model record the camera was opened with (the camera's model after
// the first open).
tagZLXMODEL &OpenedModel();

// Made once per process when the first folder object is asked for.
bool TakeFirstFolderUse();

}  // namespace camfolder
