#include "main_window.h"

#include <dbt.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "link/server_texts.h"
#include "port_dialog.h"
#include "resource.h"

namespace vserver {
namespace {

constexpr LPARAM kTrayLeftButtonDown = WM_LBUTTONDOWN;
constexpr WPARAM kDeviceArrival = DBT_DEVICEARRIVAL;
constexpr WPARAM kDeviceNodesChanged = DBT_DEVNODES_CHANGED;

std::wstring Wide(const char *utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
  wide.resize(wcslen(wide.c_str()));
  return wide;
}

std::wstring LoadText(UINT id) {
  wchar_t text[256] = L"";
  LoadStringW(GetModuleHandleW(nullptr), id, text, 256);
  return text;
}

void SetNumber(HWND window, int id, unsigned long long value) {
  SetDlgItemTextW(window, id, std::to_wstring(value).c_str());
}

}  // namespace

MainWindow::MainWindow(HANDLE instanceMutex, const std::string &extraPort)
    : instanceMutex_(instanceMutex), extraPort_(extraPort) {
  if (!extraPort_.empty()) lastPortIndex_ = 9;  // the extra port follows COM1 to COM9
}

void MainWindow::Run() {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, DialogProc,
                  reinterpret_cast<LPARAM>(this));
}

void MainWindow::Log(const std::string &text) {
  if (HWND window = window_) SendMessageW(window, kNotify, kNotifyLogLine, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::Report(const ConnectionRecord &record) {
  if (HWND window = window_) SendMessageW(window, kNotify, kNotifyStatistics, reinterpret_cast<LPARAM>(&record));
}

INT_PTR CALLBACK MainWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<MainWindow *>(lParam)->window_ = window;
  }
  auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case kNotify:
      if (wParam == kNotifyLogLine) AppendLogLine(reinterpret_cast<const char *>(lParam));
      if (wParam == kNotifyStatistics) ShowStatistics(*reinterpret_cast<const ConnectionRecord *>(lParam));
      return TRUE;
    case kTrayMessage:
      if (wParam == kTrayIconId && lParam == kTrayLeftButtonDown) {
        ShowWindow(window_, SW_RESTORE);
        SetForegroundWindow(window_);
      }
      return TRUE;
    case WM_DEVICECHANGE:
      if (!controller_->Running()) {
        if (wParam == kDeviceArrival) controller_->Post(kStart);
        if (wParam == kDeviceNodesChanged) controller_->Post(kStartAfterDeviceChange);
      }
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(window_, SW_HIDE);
        return TRUE;
      }
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        OnClose();
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) OnClose();
      if (LOWORD(wParam) == IDC_START_STOP) OnStartStop();
      return TRUE;
    case kStoppedForClose:
      EndDialog(window_, 0);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
  }
  return FALSE;
}

void MainWindow::OnInit() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VSERVER));
  SetClassLongPtrW(window_, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  SetWindowLongPtrW(window_, GWL_EXSTYLE, GetWindowLongPtrW(window_, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) | WS_MINIMIZE);
  const std::wstring title = LoadText(IDS_TITLE);
  NOTIFYICONDATAW tray{};
  tray.cbSize = sizeof tray;
  tray.hWnd = window_;
  tray.uID = kTrayIconId;
  tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray.uCallbackMessage = kTrayMessage;
  tray.hIcon = icon;
  lstrcpynW(tray.szTip, title.c_str(), 64);
  Shell_NotifyIconW(NIM_ADD, &tray);
  SetWindowTextW(window_, title.c_str());
  // The text of a log line starts just after its time stamp.
  const int tabStop = 50;
  SendDlgItemMessageW(window_, IDC_EVENT_LOG, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
  controller_->WindowReady(window_);
}

void MainWindow::OnStartStop() {
  if (controller_->Running()) {
    controller_->Post(kStop);
    return;
  }
  std::string port;
  if (SelectPort(window_, extraPort_, lastPortIndex_, port)) {
    controller_->SetChosenPort(port);
    controller_->Post(kStart);
  }
}

void MainWindow::OnClose() {
  // The stop runs on the controller thread: its threads log to this window,
  // which therefore keeps serving messages until the stop is done.
  if (controller_->Running())
    controller_->StopForClose();
  else
    EndDialog(window_, 0);
}

void MainWindow::AppendLogLine(const char *text) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string line = LogLine(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, text);
  HWND list = GetDlgItem(window_, IDC_EVENT_LOG);
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line.c_str()).c_str()));
  LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  if (count > static_cast<LRESULT>(kMaxLogLines)) count = SendMessageW(list, LB_DELETESTRING, 0, 0);
  // Keeps the newest line in view.
  if (count > 0) SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
}

void MainWindow::ShowStatistics(const ConnectionRecord &record) {
  stats_.Add(record);
  SetNumber(window_, IDC_RATE, stats_.Rate());
  SetNumber(window_, IDC_CONNECTIONS, stats_.Connections());
  SetNumber(window_, IDC_RECEIVED, stats_.TotalReceived());
  SetNumber(window_, IDC_SENT, stats_.TotalSent());
}

void MainWindow::OnDestroy() {
  if (instanceMutex_) CloseHandle(instanceMutex_);
  instanceMutex_ = nullptr;
  NOTIFYICONDATAW tray{};
  tray.cbSize = sizeof tray;
  tray.hWnd = window_;
  tray.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &tray);
  window_ = nullptr;
}

}  // namespace vserver
