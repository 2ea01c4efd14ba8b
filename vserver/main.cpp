// vserver.exe: offers a camera on a USB or serial cable on the PC's TCP
// ports 80, 6220 and 6221.
//   vserver [--port NAME] [--start]
// --port adds NAME (for example "tcp:127.0.0.1:7000", the TCP-backed port of
// a simulated camera) to the port dialog and chooses it; --start starts the
// server at once instead of waiting for the Start button.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "controller.h"
#include "main_window.h"
#include "resource.h"
#include "virtual_server.h"

namespace {

struct Options {
  std::string port;
  bool start = false;
};

Options ParseCommandLine() {
  Options options;
  int count = 0;
  LPWSTR *arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; arguments && i < count; ++i) {
    const std::wstring argument = arguments[i];
    if (argument == L"--start") {
      options.start = true;
    } else if (argument == L"--port" && i + 1 < count) {
      char name[256] = "";
      WideCharToMultiByte(CP_ACP, 0, arguments[++i], -1, name, sizeof name, nullptr, nullptr);
      options.port = name;
    }
  }
  LocalFree(arguments);
  return options;
}

std::wstring LoadText(UINT id) {
  wchar_t text[256] = L"";
  LoadStringW(GetModuleHandleW(nullptr), id, text, 256);
  return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, LoadText(IDS_MUTEX).c_str());
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (mutex) CloseHandle(mutex);
    return 0;
  }
  if (HWND running = FindWindowW(nullptr, LoadText(IDS_TITLE).c_str())) {
    ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    if (mutex) CloseHandle(mutex);
    return 0;
  }
  WSADATA winsock;
  if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0) {
    MessageBoxA(nullptr, "Initialize WinSock Failed", "VADEREDO", MB_OK | MB_ICONSTOP);
    if (mutex) CloseHandle(mutex);
    return 1;
  }
  if (winsock.wVersion != MAKEWORD(2, 2)) {
    MessageBoxA(nullptr, "Wrong WinSock Version", "VADEREDO", MB_OK | MB_ICONSTOP);
    WSACleanup();
    if (mutex) CloseHandle(mutex);
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  const Options options = ParseCommandLine();
  {
    // The window outlives the server and the controller: their threads log to it.
    vserver::MainWindow window(mutex, options.port);
    vserver::VirtualServer server(window);
    vserver::Controller controller(server);
    window.Attach(controller);
    if (!options.port.empty()) controller.SetChosenPort(options.port);
    if (options.start) controller.Post(vserver::kStart);
    controller.Launch();
    window.Run();
    // Ends the controller (stopping a server still running) before WinSock goes.
    controller.End();
  }
  WSACleanup();
  return 0;
}
