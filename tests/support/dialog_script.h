// Test helper: answers the dialogs this process shows, one after another,
// with the buttons given (IDCANCEL for any beyond them), running the action
// on each first; what each showed is kept.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// A visible dialog window of this process, if there is one; with a test,
// the first one the test accepts.
HWND VisibleDialogOfThisProcess(bool (*accept)(HWND dialog) = nullptr);
// The longest static text of a dialog (a message box's message), in UTF-8.
std::string LongestStaticText(HWND dialog);

class DialogScript {
 public:
  struct Shown {
    std::string caption;  // in UTF-8
    std::string text;     // the longest static text, in UTF-8
  };
  explicit DialogScript(std::vector<int> buttons, std::function<void(HWND, size_t)> action = nullptr);
  ~DialogScript();
  DialogScript(const DialogScript &) = delete;
  DialogScript &operator=(const DialogScript &) = delete;
  // Stops watching and tells what was shown.
  std::vector<Shown> Finish();

 private:
  void Watch(std::vector<int> buttons, std::function<void(HWND, size_t)> action);

  std::atomic<bool> stop_{false};
  std::vector<Shown> shown_;
  std::thread thread_;  // last: it starts watching as soon as it is made
};
