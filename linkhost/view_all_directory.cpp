#include "view_all_directory.h"

#include "shared/win_raii.h"

uint8_t ViewAllDirectoryByte() {
  unique_hkey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\VEMLO\\ZLXSDK\\Connection", 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS)
    return 0;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key.get(), "ViewAllDirectory", nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return 0;
  return static_cast<uint8_t>(value & 0xFF);
}
