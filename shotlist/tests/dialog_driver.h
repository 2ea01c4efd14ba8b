// Drives the library's modal dialogs from a test thread while the test's main
// thread sits in the export that shows them: finds a dialog by its caption,
// reads and sets its controls and presses its buttons. When the script ends
// (or fails), any dialog still open is cancelled until the export returns,
// so that a failing test never hangs.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class DialogDriver {
 public:
  // Starts `script` on a test thread.
  explicit DialogDriver(std::function<void()> script);
  // Call when the export has returned; waits for the script to end.
  ~DialogDriver();
  DialogDriver(const DialogDriver &) = delete;
  DialogDriver &operator=(const DialogDriver &) = delete;

  // Whether any dialog or message box of this process was seen while the export ran.
  bool SawWindow() const { return sawWindow_; }

 private:
  std::thread thread_;
  std::atomic<bool> exportDone_{false};
  std::atomic<bool> sawWindow_{false};
};

// A visible dialog (or message box) of this process with this caption, or nullptr after the time-out.
HWND WaitForDialog(const std::string &caption, DWORD timeoutMs = 15000);
// Whether a visible dialog of this process with this caption exists now.
bool DialogOpen(const std::string &caption);
// Waits until the window is gone; false after the time-out.
bool WaitUntilClosed(HWND window, DWORD timeoutMs = 15000);

// The control that has the focus in the dialog's thread.
HWND FocusOf(HWND dialog);

std::string WindowText(HWND window);
std::wstring WindowTextW(HWND window);
// The text of a message box: its longest static text.
std::string MessageText(HWND box);
std::vector<std::string> ListBoxRows(HWND list);
int ListBoxSelection(HWND list);
void SelectListBoxRow(HWND list, int row);

// Posts a button click, as the dialog's keyboard interface would.
void Press(HWND dialog, int id);
// Sets the text of a control and waits until the dialog has it.
void SetControlText(HWND dialog, int id, const std::string &text);

// Waits for the message box of `caption`, returns its text and presses `button`.
std::string AnswerMessageBox(const std::string &caption, int button = IDOK);
