#include "items/module_state.h"

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

// The version a system library reports through DllGetVersion; 0 without one.
DWORD LibraryVersion(const char *library) {
  const unique_module module(LoadLibraryA(library));
  const auto getVersion = module ? reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void *>(
                                       GetProcAddress(module.get(), "DllGetVersion")))
                                 : nullptr;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (!getVersion || FAILED(getVersion(&info))) return 0;
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
  static const DWORD version = LibraryVersion("shell32.dll");
  return version;
}

DWORD CommonControlsVersion() {
  static const DWORD version = LibraryVersion("comctl32.dll");
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
constexpr LONG kWheelLinesUnread = -2;
LONG g_wheelLines = kWheelLinesUnread;

bool IsNt4OrLater() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 4;
#pragma GCC diagnostic pop
}

// NT 4 and later keep the setting themselves; before them the wheel's
// driver answers for it through its window, and without one the wheel
// scrolls nothing.
UINT SystemWheelLines() {
  UINT lines = 0;
  if (IsNt4OrLater() && SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return lines;
  const HWND driver = FindWindowA("MouseZ", "Magellan MSWHEEL");
  const UINT question = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
  return driver && question ? static_cast<UINT>(SendMessageA(driver, question, 0, 0)) : 0;
}

}  // namespace

void ReadWheelScrollLines() {
  const UINT lines = SystemWheelLines();
  InterlockedExchange(&g_wheelLines, lines == WHEEL_PAGESCROLL ? -1 : static_cast<LONG>(lines));
}

int WheelScrollLines() {
  if (g_wheelLines == kWheelLinesUnread) ReadWheelScrollLines();
  return static_cast<int>(g_wheelLines);
}

tagZLXMODEL &OpenedModel() {
  static tagZLXMODEL model{};
  return model;
}

bool TakeFirstFolderUse() { return InterlockedExchange(&g_folderUsed, 1) == 0; }

}  // namespace camfolder
