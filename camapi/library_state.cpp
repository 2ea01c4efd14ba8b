#include "library_state.h"

namespace camapi {

namespace {
constexpr DWORD kNotInitialized = 0xFFFFFFFF;
CRITICAL_SECTION g_languageLock;
DWORD g_language = kNotInitialized;
HINSTANCE g_module = nullptr;
}  // namespace

bool g_cameraOpen = false;

bool IsInitialized() {
  EnterCriticalSection(&g_languageLock);
  const bool initialized = g_language != kNotInitialized;
  LeaveCriticalSection(&g_languageLock);
  return initialized;
}

void SetLanguage(DWORD language) {
  EnterCriticalSection(&g_languageLock);
  g_language = language;
  LeaveCriticalSection(&g_languageLock);
}

HINSTANCE ModuleInstance() { return g_module; }

}  // namespace camapi

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    camapi::g_module = instance;
    InitializeCriticalSection(&camapi::g_languageLock);
  } else if (reason == DLL_PROCESS_DETACH) {
    DeleteCriticalSection(&camapi::g_languageLock);
  }
  return TRUE;
}
