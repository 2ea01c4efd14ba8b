// The library's application object, created when shotlist.dll is loaded:
// the module its dialogs and strings come from, and the thread object that
// FilterDllMsg and ProcessDllIdle hand the host's messages and idle time to.
#pragma once

#include "shared/winfx/win_app.h"

class CShotlistApp : public winfx::CWinApp {
 public:
  CShotlistApp();
  // Registers the common control classes the dialogs use and takes the
  // application's name from the string table.
  bool InitInstance(HINSTANCE instance) override;
};

extern CShotlistApp theApp;
