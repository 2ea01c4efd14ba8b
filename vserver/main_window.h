// The main window: statistics, the event log, the Start/Stop button and the
// notification-area icon. Other threads reach it through sent messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "controller.h"
#include "event_log.h"
#include "link/transfer_stats.h"

namespace vserver {

// Messages of the window (first parameter of kNotify says which).
constexpr UINT kNotify = WM_USER + 2;
constexpr WPARAM kNotifyLogLine = 1028;
constexpr WPARAM kNotifyStatistics = 1025;
constexpr UINT kTrayMessage = WM_USER + 99;
constexpr UINT kTrayIconId = 1099;

class MainWindow : public EventLog {
 public:
  // extraPort: a port name offered in the port dialog besides COM1 to COM9.
  MainWindow(HANDLE instanceMutex, const std::string &extraPort);
  void Attach(Controller &controller) { controller_ = &controller; }
  // Runs the dialog until it is closed.
  void Run();

  void Log(const std::string &text) override;
  void Report(const ConnectionRecord &record) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit();
  void OnStartStop();
  void OnClose();
  void AppendLogLine(const char *text);
  void ShowStatistics(const ConnectionRecord &record);
  void OnDestroy();

  Controller *controller_ = nullptr;
  HANDLE instanceMutex_;
  std::string extraPort_;
  int lastPortIndex_ = 0;
  std::atomic<HWND> window_{nullptr};  // read by the threads that log
  TransferStats stats_;
};

}  // namespace vserver
