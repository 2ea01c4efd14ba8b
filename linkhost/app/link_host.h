// Process-wide state of the link host: one camera address, one hidden
// command window, at most one dialog transfer at a time.
#pragma once

#include <windows.h>

#include "command_server.h"
#include "guarded_value.h"

class CameraLink;

namespace linkhost {

constexpr char kWindowClass[] = "ZL1_ZLtpProxyServer";

// Shared by the window thread and the transfer worker.
extern GuardedValue<HWND> g_progressDialog;
extern GuardedValue<HANDLE> g_workerThread;
extern GuardedValue<HINSTANCE> g_moduleInstance;

// Window thread only.
extern CommandBlock *g_heldBlock;   // the block of the dialog transfer in progress
extern char g_deviceKey[260];
extern HWND g_commandWindow;

CameraLink &Link();

bool RegisterCommandWindowClass(HINSTANCE instance);
HWND CreateCommandWindow(HINSTANCE instance, const char *commandLine, const char *deviceKey);

}  // namespace linkhost
