#include "dialog_script.h"

#include "window_text.h"

namespace {

struct Search {
  DWORD process;
  bool (*accept)(HWND);
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
  auto *search = reinterpret_cast<Search *>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[32];
  if (process == search->process && IsWindowVisible(window) && GetClassNameA(window, className, sizeof className) &&
      lstrcmpA(className, "#32770") == 0 && (!search->accept || search->accept(window))) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM context) {
  auto *longest = reinterpret_cast<std::string *>(context);
  char className[32];
  if (GetClassNameA(child, className, sizeof className) && lstrcmpiA(className, "Static") == 0)
    if (std::string text = WindowTextUtf8(child); text.size() > longest->size()) *longest = text;
  return TRUE;
}

}  // namespace

HWND VisibleDialogOfThisProcess(bool (*accept)(HWND dialog)) {
  Search search{GetCurrentProcessId(), accept, nullptr};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string LongestStaticText(HWND dialog) {
  std::string longest;
  EnumChildWindows(dialog, LongestStatic, reinterpret_cast<LPARAM>(&longest));
  return longest;
}

DialogScript::DialogScript(std::vector<int> buttons, std::function<void(HWND, size_t)> action)
    : thread_([this, buttons = std::move(buttons), action = std::move(action)] { Watch(buttons, action); }) {}

DialogScript::~DialogScript() { Finish(); }

std::vector<DialogScript::Shown> DialogScript::Finish() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  return shown_;
}

void DialogScript::Watch(std::vector<int> buttons, std::function<void(HWND, size_t)> action) {
  while (!stop_) {
    const HWND found = VisibleDialogOfThisProcess();
    if (!found) {
      Sleep(50);
      continue;
    }
    // The dialog may not have its controls filled when it is first visible.
    Sleep(300);
    const size_t index = shown_.size();
    shown_.push_back({WindowTextUtf8(found), LongestStaticText(found)});
    if (action) action(found, index);
    const int button = index < buttons.size() ? buttons[index] : IDCANCEL;
    PostMessageA(found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    // The next one is another dialog.
    for (int i = 0; i < 200 && IsWindow(found) && IsWindowVisible(found); ++i) Sleep(25);
  }
}
