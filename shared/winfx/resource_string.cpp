#include "resource_string.h"

#include <windows.h>

#include "win_app.h"

namespace winfx {

std::string LoadResourceString(unsigned id) {
  // A string-table entry holds at most 4,095 characters.
  char text[4096];
  const int length = LoadStringA(GetResourceHandle(), id, text, sizeof text);
  return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

}  // namespace winfx
