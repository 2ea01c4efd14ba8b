#include "message_box_watcher.h"

#include <vector>

#include "window_text.h"

namespace {

struct Search {
  DWORD process;
  HWND found;
};

// A visible dialog window of this process.
BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
  auto *search = reinterpret_cast<Search *>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[32];
  if (process == search->process && IsWindowVisible(window) && GetClassNameA(window, className, sizeof className) &&
      lstrcmpA(className, "#32770") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM context) {
  auto *texts = reinterpret_cast<std::vector<std::string> *>(context);
  char className[32];
  if (GetClassNameA(child, className, sizeof className) && lstrcmpiA(className, "Static") == 0)
    if (std::string text = WindowTextUtf8(child); !text.empty()) texts->push_back(text);
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int button, DWORD timeoutMs, std::function<void(HWND)> action)
    : thread_([this, button, timeoutMs, action = std::move(action)] { Watch(button, timeoutMs, action); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void MessageBoxWatcher::Watch(int button, DWORD timeoutMs, const std::function<void(HWND)> &action) {
  const DWORD start = GetTickCount();
  while (!stop_ && GetTickCount() - start < timeoutMs) {
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      // The dialog may not have its controls yet when it is first visible.
      Sleep(200);
      std::vector<std::string> texts;
      EnumChildWindows(search.found, CollectStatic, reinterpret_cast<LPARAM>(&texts));
      for (const std::string &text : texts)
        if (text.size() > text_.size()) text_ = text;
      caption_ = WindowTextUtf8(search.found);
      if (action) action(search.found);
      seen_ = true;
      PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
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
