#include "shotlist_app.h"

#include <commctrl.h>

#include "resource.h"
#include "shared/winfx/resource_string.h"

CShotlistApp theApp;

CShotlistApp::CShotlistApp() : CWinApp("shotlist") {}

bool CShotlistApp::InitInstance(HINSTANCE instance) {
  if (!CWinApp::InitInstance(instance)) return false;
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  if (std::string name = winfx::LoadResourceString(IDS_TOOLKIT); !name.empty()) SetAppName(std::move(name));
  return true;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(instance);
      return theApp.InitInstance(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      theApp.ExitInstance();
      break;
  }
  return TRUE;
}
