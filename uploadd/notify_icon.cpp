#include "notify_icon.h"

#include <shellapi.h>

#include <cstring>

bool NotifyIcon::Add(HWND window, UINT id, HICON icon, UINT callbackMessage, const std::string &tip) {
  Remove();
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = id;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = callbackMessage;
  data.hIcon = icon;
  std::strncpy(data.szTip, tip.c_str(), sizeof data.szTip - 1);
  if (!Shell_NotifyIconA(NIM_ADD, &data)) return false;
  window_ = window;
  id_ = id;
  return true;
}

void NotifyIcon::Remove() {
  if (!window_) return;
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = id_;
  Shell_NotifyIconA(NIM_DELETE, &data);
  window_ = nullptr;
}
