// Process-wide state of the camera API: the language code that marks the
// library initialised, the module instance and the camera-open flag.
#pragma once

#include <windows.h>

namespace camapi {

bool IsInitialized();
// Stores the language code; the library counts as initialised from then on.
void SetLanguage(DWORD language);
HINSTANCE ModuleInstance();

// One flag for the whole process: set by a successful open, cleared by the
// close that ends the camera.
extern bool g_cameraOpen;

}  // namespace camapi
