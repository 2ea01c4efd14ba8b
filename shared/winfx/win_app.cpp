#include "win_app.h"

#include <algorithm>
#include <exception>

#include "dialog.h"

namespace winfx {

namespace {

CWinApp *currentApp = nullptr;
thread_local std::exception_ptr parkedException;
thread_local int filterDepth = 0;      // modal filters alive on this thread
thread_local bool inMessageFilter = false;

LRESULT CALLBACK MessageFilterProc(int code, WPARAM wParam, LPARAM lParam) {
  // A dialog's pre-translation calls IsDialogMessage, which calls this hook
  // again: the inner call passes the message on.
  if (code == MSGF_DIALOGBOX && !inMessageFilter && currentApp) {
    inMessageFilter = true;
    BOOL handled = FALSE;
    try {
      handled = currentApp->PreTranslateMessage(reinterpret_cast<MSG *>(lParam));
    } catch (...) {
      ParkException(reinterpret_cast<MSG *>(lParam)->hwnd);
      handled = TRUE;
    }
    inMessageFilter = false;
    if (handled) return TRUE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

BOOL CWinThread::PreTranslateMessage(MSG *message) {
  if (!message) return FALSE;
  for (HWND window = message->hwnd; window; window = GetParent(window)) {
    if (CDialog *dialog = DialogOf(window); dialog && dialog->PreTranslateMessage(message)) return TRUE;
  }
  return FALSE;
}

BOOL CWinThread::OnIdle(LONG count) {
  if (count != 0) return FALSE;
  std::vector<HWND> windows;
  {
    std::lock_guard lock(mutex_);
    for (CDialog *dialog : dialogs_) windows.push_back(dialog->GetSafeHwnd());
  }
  const DWORD thread = GetCurrentThreadId();
  for (HWND window : windows) {
    if (GetWindowThreadProcessId(window, nullptr) == thread && IsWindowVisible(window)) {
      SendMessageA(window, WM_IDLEUPDATECMDUI, TRUE, 0);
    }
  }
  return TRUE;
}

void CWinThread::AddDialog(CDialog *dialog) {
  std::lock_guard lock(mutex_);
  dialogs_.push_back(dialog);
}

void CWinThread::RemoveDialog(CDialog *dialog) {
  std::lock_guard lock(mutex_);
  std::erase(dialogs_, dialog);
}

CDialog *CWinThread::DialogOf(HWND window) {
  std::lock_guard lock(mutex_);
  auto found = std::find_if(dialogs_.begin(), dialogs_.end(),
                            [window](CDialog *dialog) { return dialog->GetSafeHwnd() == window; });
  return found == dialogs_.end() ? nullptr : *found;
}

CWinApp::CWinApp(std::string appName) : appName_(std::move(appName)) { currentApp = this; }

CWinApp::~CWinApp() {
  if (currentApp == this) currentApp = nullptr;
}

bool CWinApp::InitInstance(HINSTANCE instance) {
  instance_ = instance;
  return true;
}

CWinApp *GetApp() { return currentApp; }

HINSTANCE GetResourceHandle() {
  return currentApp && currentApp->ResourceHandle() ? currentApp->ResourceHandle() : GetModuleHandleA(nullptr);
}

int AppMessageBox(HWND owner, const std::string &text, UINT type) {
  return MessageBoxA(owner, text.c_str(), currentApp ? currentApp->AppName().c_str() : nullptr, type);
}

void ParkException(HWND window) {
  if (!parkedException) parkedException = std::current_exception();
  HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
  if (root) EndDialog(root, -1);
}

void RethrowParkedException() {
  if (std::exception_ptr parked = std::exchange(parkedException, nullptr)) std::rethrow_exception(parked);
}

ModalMessageFilter::ModalMessageFilter() : counted_(currentApp != nullptr) {
  if (counted_ && filterDepth++ == 0) {
    hook_.reset(SetWindowsHookExA(WH_MSGFILTER, MessageFilterProc, nullptr, GetCurrentThreadId()));
  }
}

ModalMessageFilter::~ModalMessageFilter() {
  if (counted_) --filterDepth;
}

}  // namespace winfx
