#include "message_box_watcher.h"

#include "dialog_script.h"
#include "window_text.h"

MessageBoxWatcher::MessageBoxWatcher(int button, DWORD timeoutMs, std::function<void(HWND)> action)
    : thread_([this, button, timeoutMs, action = std::move(action)] { Watch(button, timeoutMs, action); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void MessageBoxWatcher::Watch(int button, DWORD timeoutMs, const std::function<void(HWND)> &action) {
  const DWORD start = GetTickCount();
  while (!stop_ && GetTickCount() - start < timeoutMs) {
    if (const HWND found = VisibleDialogOfThisProcess()) {
      // The dialog may not have its controls yet when it is first visible.
      Sleep(200);
      text_ = LongestStaticText(found);
      caption_ = WindowTextUtf8(found);
      if (action) action(found);
      seen_ = true;
      PostMessageA(found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return;
    }
    Sleep(50);
  }
}

bool MessageBoxWatcher::Seen() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

const std::string &MessageBoxWatcher::Caption() {
  Seen();
  return caption_;
}

const std::string &MessageBoxWatcher::Text() {
  Seen();
  return text_;
}
