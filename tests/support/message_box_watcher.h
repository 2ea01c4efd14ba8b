// Test helper: answers the next message box (or other dialog) that this
// process shows, from a thread of its own, while the test's thread is held
// inside the call that shows it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class MessageBoxWatcher {
 public:
  // Watches for up to timeoutMs for a new dialog of this process; runs the
  // action on it (to read or fill in its controls), then presses the button
  // with this identifier.
  explicit MessageBoxWatcher(int button = IDOK, DWORD timeoutMs = 60000,
                             std::function<void(HWND)> action = nullptr);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher &) = delete;
  MessageBoxWatcher &operator=(const MessageBoxWatcher &) = delete;

  // Waits for the watch to end; true when a dialog was seen and answered.
  bool Seen();
  // The texts in UTF-8, as the window holds them.
  const std::string &Caption();
  const std::string &Text();  // the longest static text in the dialog

 private:
  void Watch(int button, DWORD timeoutMs, const std::function<void(HWND)> &action);

  std::atomic<bool> stop_{false};
  bool seen_ = false;
  std::string caption_;
  std::string text_;
  std::thread thread_;  // last: it starts watching as soon as it is made
};
