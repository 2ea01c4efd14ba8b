#include "view/hosting_browser.h"

#include <vector>

namespace camfolder {

namespace {

struct Hosted {
  HWND window;
  ComPtr<IShellBrowser> browser;
};

// Views live on their browsers' threads; the list is shared between them.
struct HostedList {
  HostedList() { InitializeCriticalSection(&lock); }
  ~HostedList() { DeleteCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  std::vector<Hosted> entries;
};

HostedList &List() {
  static HostedList list;
  return list;
}

}  // namespace

void AddHostingBrowser(HWND window, IShellBrowser *browser) {
  HostedList &list = List();
  EnterCriticalSection(&list.lock);
  list.entries.push_back({window, browser});
  LeaveCriticalSection(&list.lock);
}

void RemoveHostingBrowser(HWND window) {
  HostedList &list = List();
  EnterCriticalSection(&list.lock);
  for (auto it = list.entries.begin(); it != list.entries.end(); ++it) {
    if (it->window == window) {
      list.entries.erase(it);
      break;
    }
  }
  LeaveCriticalSection(&list.lock);
}

ComPtr<IShellBrowser> HostingBrowser(HWND window) {
  HostedList &list = List();
  ComPtr<IShellBrowser> found;
  EnterCriticalSection(&list.lock);
  for (HWND at = window; at && !found; at = GetParent(at))
    for (const Hosted &hosted : list.entries)
      if (hosted.window == at) found = hosted.browser;
  LeaveCriticalSection(&list.lock);
  return found;
}

}  // namespace camfolder
