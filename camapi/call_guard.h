// The per-camera function-call guard: a named mutex shared by every thread
// and process using the camera. A caller that has to wait is asked, every
// wait period, whether to go on waiting.
#pragma once

#include <windows.h>

#include "zlx_result.h"

class CCallGuardBase {
 public:
  virtual ZLXRESULT GetParams(HWND *owner, DWORD *waitTime, char *caption);
  virtual ZLXRESULT SetParams(HWND owner, DWORD waitTime, const char *caption);
  virtual ZLXRESULT Release();
  // True when the guard is held; false when the user declined to wait.
  virtual bool Acquire();
  virtual ~CCallGuardBase() = default;
};

class CallGuard : public CCallGuardBase {
 public:
  static constexpr size_t kPromptSize = 1024;
  static constexpr size_t kCaptionSize = 260;

  CallGuard(HINSTANCE module, HWND owner, const char *caption, DWORD waitTime, const char *mutexName);
  ~CallGuard() override;
  CallGuard(const CallGuard &) = delete;
  CallGuard &operator=(const CallGuard &) = delete;

  bool Valid() const { return mutex_ != nullptr; }

  ZLXRESULT GetParams(HWND *owner, DWORD *waitTime, char *caption) override;
  ZLXRESULT SetParams(HWND owner, DWORD waitTime, const char *caption) override;
  ZLXRESULT Release() override;
  bool Acquire() override;

 private:
  HANDLE mutex_;
  char prompt_[kPromptSize];
  char caption_[kCaptionSize];
  DWORD waitTime_;
  HWND owner_;
};
