// The controller thread: starts and stops the server on request, and stops
// it when the camera goes away. The window thread only posts requests.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "virtual_server.h"

namespace vserver {

enum Request : long { kNone = 0, kStart = 1, kStop = 2, kStartAfterDeviceChange = 3, kEnd = -1 };

// Posted to the window when a stop asked for by closing it has been done.
constexpr UINT kStoppedForClose = WM_APP + 1;

class Controller {
 public:
  explicit Controller(VirtualServer &server);
  ~Controller();
  Controller(const Controller &) = delete;
  Controller &operator=(const Controller &) = delete;

  bool Launch();
  // Ends the thread (stopping a running server first) and waits for it.
  void End();

  void WindowReady(HWND window);
  void Post(Request request);
  // Stops a running server, then posts kStoppedForClose.
  void StopForClose();
  bool Running() const { return running_; }
  void SetChosenPort(const std::string &port);
  std::string ChosenPort();

 private:
  static DWORD WINAPI Thread(void *self);
  void Run();
  void StartServer(long request);
  void StopServer();
  void SetButton(UINT stringId);

  VirtualServer &server_;
  HANDLE thread_ = nullptr;
  HANDLE wake_ = nullptr;  // a new request ends the controller's wait at once
  std::atomic<HWND> window_{nullptr};
  std::atomic<long> request_{kNone};
  std::atomic<bool> running_{false};
  std::atomic<bool> closeAfterStop_{false};
  CRITICAL_SECTION portLock_;
  std::string chosenPort_;
};

}  // namespace vserver
