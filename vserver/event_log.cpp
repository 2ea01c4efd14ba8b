#include "event_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace vserver {

void EventLog::Logf(const char *format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  Log(text);
}

void EventLog::LogError(const char *text, int error) {
  wchar_t wide[256] = L"";
  LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(error), wide, 256);
  char utf8[512] = "";
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
  if (!utf8[0]) std::snprintf(utf8, sizeof utf8, "%d", error);
  Logf("%s : %s", text, utf8);
}

}  // namespace vserver
