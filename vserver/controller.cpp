#include "controller.h"

#include "resource.h"

namespace vserver {
namespace {

constexpr DWORD kPollMs = 1000;
constexpr DWORD kAutomaticSearchDelayMs = 3000;  // lets a newly plugged device settle
constexpr DWORD kDeviceChangeDelayMs = 1000;

}  // namespace

Controller::Controller(VirtualServer &server) : server_(server), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  InitializeCriticalSection(&portLock_);
}

Controller::~Controller() {
  End();
  if (wake_) CloseHandle(wake_);
  DeleteCriticalSection(&portLock_);
}

void Controller::WindowReady(HWND window) {
  window_ = window;
  SetEvent(wake_);
}

void Controller::Post(Request request) {
  request_ = request;
  SetEvent(wake_);
}

bool Controller::Launch() {
  thread_ = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
  return thread_ != nullptr;
}

void Controller::End() {
  if (!thread_) return;
  Post(kEnd);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

void Controller::StopForClose() {
  closeAfterStop_ = true;
  Post(kStop);
}

void Controller::SetChosenPort(const std::string &port) {
  EnterCriticalSection(&portLock_);
  chosenPort_ = port;
  LeaveCriticalSection(&portLock_);
}

std::string Controller::ChosenPort() {
  EnterCriticalSection(&portLock_);
  std::string port = chosenPort_;
  LeaveCriticalSection(&portLock_);
  return port;
}

DWORD WINAPI Controller::Thread(void *self) {
  static_cast<Controller *>(self)->Run();
  return 0;
}

void Controller::Run() {
  while (!window_ && request_ != kEnd) WaitForSingleObject(wake_, kPollMs);
  if (window_) ShowWindow(window_, SW_HIDE);
  for (;;) {
    const long request = request_;
    switch (request) {
      case kStart:
      case kStartAfterDeviceChange:
        StartServer(request);
        break;
      case kStop: {
        long expected = kStop;
        request_.compare_exchange_strong(expected, kNone);
        if (running_) StopServer();
        if (closeAfterStop_.exchange(false)) PostMessageW(window_, kStoppedForClose, 0, 0);
        break;
      }
      case kEnd:
        if (running_) StopServer();
        return;
      default:
        if (running_ && server_.CameraGone()) StopServer();
        break;
    }
    WaitForSingleObject(wake_, kPollMs);
  }
}

void Controller::StartServer(long request) {
  const std::string port = ChosenPort();
  if (port.empty()) {
    // An automatic search waits for the device to settle and takes the newest request.
    Sleep(kAutomaticSearchDelayMs);
    request = request_;
    if (request == kStartAfterDeviceChange) Sleep(kDeviceChangeDelayMs);
    if (request != kStart && request != kStartAfterDeviceChange) return;
  }
  if (!running_) {
    running_ = server_.Start(port);
    SetButton(running_ ? IDS_STOP : IDS_START);
  }
  long expected = request;
  request_.compare_exchange_strong(expected, kNone);
}

void Controller::StopServer() {
  server_.Stop();
  SetButton(IDS_START);
  running_ = false;
}

void Controller::SetButton(UINT stringId) {
  wchar_t text[64] = L"";
  LoadStringW(GetModuleHandleW(nullptr), stringId, text, 64);
  SetDlgItemTextW(window_, IDC_START_STOP, text);
}

}  // namespace vserver
