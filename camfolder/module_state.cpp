#include "module_state.h"

#include <shlwapi.h>

#include "win_raii.h"

namespace camfolder {

void GuardedCounter::Increment() {
  EnterCriticalSection(&lock_);
  ++value_;
  LeaveCriticalSection(&lock_);
}

void GuardedCounter::Decrement() {
  EnterCriticalSection(&lock_);
  if (value_ > 0) --value_;
  LeaveCriticalSection(&lock_);
}

long GuardedCounter::Value() {
  EnterCriticalSection(&lock_);
  const long value = value_;
  LeaveCriticalSection(&lock_);
  return value;
}

GuardedCounter &ExtensionObjects() {
  static GuardedCounter counter;
  return counter;
}
GuardedCounter &FolderObjects() {
  static GuardedCounter counter;
  return counter;
}
GuardedCounter &ServerLocks() {
  static GuardedCounter counter;
  return counter;
}

namespace {

// The instance is read under its own lock: shell threads ask for it while
// the loader records it.
struct InstanceCell {
  InstanceCell() { InitializeCriticalSection(&lock); }
  ~InstanceCell() { DeleteCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  HINSTANCE instance = nullptr;
};

InstanceCell &Instance() {
  static InstanceCell cell;
  return cell;
}

DWORD ReadShellVersion() {
  const unique_module shell(LoadLibraryA("shell32.dll"));
  if (!shell) return 0;
  const auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void *>(GetProcAddress(shell.get(), "DllGetVersion")));
  if (!getVersion) return 0;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(getVersion(&info))) return 0;
  return ShellVersionOf(static_cast<WORD>(info.dwMajorVersion), static_cast<WORD>(info.dwMinorVersion));
}

}  // namespace

void SetModuleInstance(HINSTANCE instance) {
  InstanceCell &cell = Instance();
  EnterCriticalSection(&cell.lock);
  cell.instance = instance;
  LeaveCriticalSection(&cell.lock);
}

HINSTANCE ModuleInstance() {
  InstanceCell &cell = Instance();
  EnterCriticalSection(&cell.lock);
  const HINSTANCE instance = cell.instance;
  LeaveCriticalSection(&cell.lock);
  return instance;
}

std::string ModuleFileName() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(ModuleInstance(), path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

DWORD ShellVersion() {
  static const DWORD version = ReadShellVersion();
  return version;
}

ConnectionSettings &CurrentSettings() {
  static ConnectionSettings settings;
  return settings;
}

namespace {
HWND g_messageOwner = nullptr;
LONG g_folderUsed = 0;
}  // namespace

HWND MessageOwner() { return g_messageOwner; }
void SetMessageOwner(HWND owner) { g_messageOwner = owner; }

ProgressCounters &CurrentProgress() {
  static ProgressCounters counters;
  return counters;
}

namespace {
LONG g_wheelLines = 0;  // 0 until read
}  // namespace

void ReadWheelScrollLines() {
  UINT lines = 3;
  if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  InterlockedExchange(&g_wheelLines, lines == WHEEL_PAGESCROLL ? -1 : static_cast<LONG>(lines));
}

int WheelScrollLines() {
  if (g_wheelLines == 0) ReadWheelScrollLines();
  return static_cast<int>(g_wheelLines);
}

tagZLXMODEL &OpenedModel() {
  static tagZLXMODEL model{};
  return model;
}

bool TakeFirstFolderUse() { return InterlockedExchange(&g_folderUsed, 1) == 0; }

}  // namespace camfolder
