// The application and thread object of a module with windows (the stand-in
// for the framework's CWinApp): the module that dialogs and strings are
// loaded from, pre-translation of messages for the module's dialogs, idle
// processing, and the hand-over of exceptions out of window procedures.
//
// A DLL creates its application object when it is loaded. A program without
// one keeps the plain behaviour: resources from the executable and no
// pre-translation.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "win_raii.h"

namespace winfx {

// Sent by idle processing to let a window update its controls (wParam TRUE).
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;

class CDialog;

class CWinThread {
 public:
  CWinThread() = default;
  virtual ~CWinThread() = default;
  CWinThread(const CWinThread &) = delete;
  CWinThread &operator=(const CWinThread &) = delete;

  // Offers the message to this module's dialogs on the way from its window
  // up through parents and owners; TRUE when one of them handled it, and the
  // caller must then not dispatch it.
  virtual BOOL PreTranslateMessage(MSG *message);
  // Idle processing, called with count 0, 1, 2, ... while it returns TRUE.
  // Count 0 lets the visible dialogs of the calling thread bring their
  // controls up to date (WM_IDLEUPDATECMDUI); then no more time is needed.
  virtual BOOL OnIdle(LONG count);

 private:
  friend class CDialog;
  void AddDialog(CDialog *dialog);
  void RemoveDialog(CDialog *dialog);
  CDialog *DialogOf(HWND window);

  std::mutex mutex_;
  std::vector<CDialog *> dialogs_;  // dialogs whose windows exist
};

class CWinApp : public CWinThread {
 public:
  // The object becomes the module's application object.
  explicit CWinApp(std::string appName);
  ~CWinApp() override;

  // Called at load with the module that holds the resources; false fails the load.
  virtual bool InitInstance(HINSTANCE instance);
  // Called when the module is unloaded.
  virtual void ExitInstance() {}

  HINSTANCE ResourceHandle() const { return instance_; }
  const std::string &AppName() const { return appName_; }

 protected:
  void SetAppName(std::string appName) { appName_ = std::move(appName); }

 private:
  HINSTANCE instance_ = nullptr;
  std::string appName_;
};

// The module's application object, or nullptr in a program without one.
CWinApp *GetApp();

// The module dialogs and strings come from: the application's, else the executable.
HINSTANCE GetResourceHandle();

// A message box captioned with the application's name.
int AppMessageBox(HWND owner, const std::string &text, UINT type = MB_OK | MB_ICONEXCLAMATION);

// A C++ exception must not unwind through the system's frames: a window
// procedure parks it here and ends the modal dialog that holds the window,
// and DoModal rethrows it to its caller.
void ParkException(HWND window);
void RethrowParkedException();

// While it lives (and an application object exists), the messages of the
// system's modal loops on this thread (dialogs, message boxes) go through
// the application's PreTranslateMessage first.
class ModalMessageFilter {
 public:
  ModalMessageFilter();
  ~ModalMessageFilter();
  ModalMessageFilter(const ModalMessageFilter &) = delete;
  ModalMessageFilter &operator=(const ModalMessageFilter &) = delete;

 private:
  bool counted_ = false;
  unique_hhook hook_;
};

}  // namespace winfx
