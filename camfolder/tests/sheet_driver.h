// Test helper: drives the next property sheet this process shows, from a
// thread of its own, while the test's thread is held inside the call that
// shows it (the sheet's thread answers the messages sent to its windows).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

// The sheet as the driving thread sees it; controls are those of the
// current page.
class Sheet {
 public:
  explicit Sheet(HWND window) : window_(window) {}
  HWND Window() const { return window_; }
  HWND Page() const;
  std::string Caption() const;
  int PageCount() const;
  std::string TabText(int index) const;
  void SelectPage(int index) const;

  HWND Control(int id) const { return GetDlgItem(Page(), id); }
  std::string Text(int id) const;
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  LRESULT Check(int id) const;
  void Click(int id) const;
  // Chooses an entry of a drop-down list as the user does.
  void Choose(int comboId, int index) const;
  void SetText(int id, const std::string &text) const;
  bool ApplyEnabled() const;

  void Ok() const;
  void Cancel() const;
  // Into $LUMO_SCREENSHOT_DIR/name.png when that is set (for looking at
  // the sheets by hand); nothing otherwise.
  void Screenshot(const std::string &name) const;

 private:
  HWND window_;
};

class SheetDriver {
 public:
  // Waits up to timeoutMs for a sheet; runs the drive on it. The drive ends
  // the sheet (Ok or Cancel); if it does not, the sheet is cancelled.
  explicit SheetDriver(std::function<void(Sheet &)> drive, DWORD timeoutMs = 60000);
  ~SheetDriver();
  SheetDriver(const SheetDriver &) = delete;
  SheetDriver &operator=(const SheetDriver &) = delete;

  // Waits for the drive to end; true when a sheet was seen.
  bool Seen();

 private:
  std::thread thread_;
  bool seen_ = false;
};

// A visible sheet of this process, or null.
HWND FindSheet();
