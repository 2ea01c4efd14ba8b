// The program's icon in the notification area.
#pragma once

#include <windows.h>

#include <string>

class NotifyIcon {
 public:
  NotifyIcon() = default;
  ~NotifyIcon() { Remove(); }
  NotifyIcon(const NotifyIcon &) = delete;
  NotifyIcon &operator=(const NotifyIcon &) = delete;

  // The icon sends callbackMessage to window on mouse events.
  bool Add(HWND window, UINT id, HICON icon, UINT callbackMessage, const std::string &tip);
  void Remove();

 private:
  HWND window_ = nullptr;
  UINT id_ = 0;
};
