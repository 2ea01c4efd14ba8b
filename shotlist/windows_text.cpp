#include "windows_text.h"

#include <windows.h>

namespace {

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace

TextLocale SystemTextLocale() { return {SystemLeadByte, static_cast<uint16_t>(GetSystemDefaultLangID())}; }

ListContext SystemListContext() {
  return {SystemTextLocale(), [](const std::string &text, const std::string &caption) {
            MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
          }};
}
