#include "call_guard.h"

#include <cstring>

namespace {
constexpr UINT kPromptStringId = 1;

void CopyCaption(char *target, const char *caption) {
  std::strncpy(target, caption ? caption : "", CallGuard::kCaptionSize - 1);
  target[CallGuard::kCaptionSize - 1] = '\0';
}
}  // namespace

ZLXRESULT CCallGuardBase::GetParams(HWND *owner, DWORD *waitTime, char *caption) {
  if (owner) *owner = nullptr;
  if (waitTime) *waitTime = 0;
  if (caption) *caption = '\0';
  return owner && waitTime && caption ? ZLX_OK : ZLX_E_INVALID_PARAMETER;
}
ZLXRESULT CCallGuardBase::SetParams(HWND, DWORD, const char *) { return ZLX_OK; }
ZLXRESULT CCallGuardBase::Release() { return ZLX_OK; }
bool CCallGuardBase::Acquire() { return true; }

CallGuard::CallGuard(HINSTANCE module, HWND owner, const char *caption, DWORD waitTime, const char *mutexName)
    : mutex_(CreateMutexA(nullptr, FALSE, mutexName)), prompt_{}, caption_{}, waitTime_(waitTime), owner_(owner) {
  LoadStringA(module, kPromptStringId, prompt_, sizeof prompt_);
  CopyCaption(caption_, caption);
}

CallGuard::~CallGuard() {
  if (mutex_) CloseHandle(mutex_);
}

ZLXRESULT CallGuard::GetParams(HWND *owner, DWORD *waitTime, char *caption) {
  if (owner) *owner = owner_;
  if (waitTime) *waitTime = waitTime_;
  if (caption) std::memcpy(caption, caption_, kCaptionSize);
  return owner && waitTime && caption ? ZLX_OK : ZLX_E_INVALID_PARAMETER;
}

ZLXRESULT CallGuard::SetParams(HWND owner, DWORD waitTime, const char *caption) {
  owner_ = owner;
  waitTime_ = waitTime;
  if (caption) CopyCaption(caption_, caption);
  return ZLX_OK;
}

ZLXRESULT CallGuard::Release() {
  ReleaseMutex(mutex_);
  return ZLX_OK;
}

bool CallGuard::Acquire() {
  while (WaitForSingleObject(mutex_, waitTime_) == WAIT_TIMEOUT) {
    if (MessageBoxA(owner_, prompt_, caption_, MB_YESNO | MB_ICONQUESTION) == IDNO) return false;
  }
  return true;
}
