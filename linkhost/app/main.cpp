// linkhost.exe: owns the link to the camera whose address is the whole
// command line and serves the command channel of that camera.
#include <winsock2.h>
#include <windows.h>

#include "camera_link.h"
#include "channel_names.h"
#include "command_server.h"
#include "link_host.h"

namespace linkhost {

GuardedValue<HWND> g_progressDialog(nullptr);
GuardedValue<HANDLE> g_workerThread(nullptr);
GuardedValue<HINSTANCE> g_moduleInstance(GetModuleHandleA(nullptr));
CommandBlock *g_heldBlock = nullptr;
char g_deviceKey[260] = {};
HWND g_commandWindow = nullptr;

CameraLink &Link() {
  static CameraLink link;
  return link;
}

namespace {

// Takes every waiting message; a registered progress dialog gets its own
// keyboard handling. Returns false once WM_QUIT was seen, with its code.
bool PumpMessages(int &exitCode) {
  bool running = true;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    HWND dialog = g_progressDialog.Get();
    if (dialog && IsDialogMessageA(dialog, &msg)) continue;
    if (msg.message == WM_QUIT) {
      running = false;
      exitCode = static_cast<int>(msg.wParam);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return running;
}

int RunMessageLoop() {
  int exitCode = 0;
  for (;;) {
    Sleep(1);
    if (HANDLE worker = g_workerThread.Get()) {
      MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT);
    }
    if (!PumpMessages(exitCode)) return exitCode;
  }
}

}  // namespace
}  // namespace linkhost

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  using namespace linkhost;
  const auto key = DeviceKey(commandLine);
  if (!key) return -1;
  if (!RegisterCommandWindowClass(instance)) return -1;
  HWND window = CreateCommandWindow(instance, commandLine, key->c_str());
  if (!window) return -1;
  InfoBlock info;
  if (!info.Publish(key->c_str(), window)) return -1;
  const int exitCode = RunMessageLoop();
  info.Close();
  return exitCode;
}
