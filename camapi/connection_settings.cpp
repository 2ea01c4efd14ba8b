// The stored connection settings: device kind and camera address under the
// current user's key SOFTWARE\VEMLO\ZLXSDK\Connection.
#include <cstring>

#include "camapi.h"
#include "win_raii.h"

namespace {

constexpr const char *kSettingsKey = "SOFTWARE\\VEMLO\\ZLXSDK";
constexpr const char *kConnectionSubkey = "Connection";
constexpr DWORD kValueSize = 260;

// Reads a plain string value into a 260-byte buffer, always terminated.
bool ReadString(HKEY key, const char *name, char (&value)[kValueSize]) {
  DWORD type = 0;
  DWORD size = kValueSize;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  value[size < kValueSize ? size : kValueSize - 1] = '\0';
  return true;
}

}  // namespace

ZLXAPI ZlxGetConnectionInfo(char *device, char *address) {
  if (device) *device = '\0';
  if (address) *address = '\0';
  if (!device || !address) return ZLX_E_INVALID_PARAMETER;
  unique_hkey settings, connection;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, settings.put()) != ERROR_SUCCESS ||
      RegOpenKeyExA(settings.get(), kConnectionSubkey, 0, KEY_READ, connection.put()) != ERROR_SUCCESS)
    return ZLX_E_GENERAL;
  char deviceValue[kValueSize], addressValue[kValueSize];
  if (!ReadString(connection.get(), "Device", deviceValue) || !ReadString(connection.get(), "IPAddress", addressValue))
    return ZLX_E_GENERAL;
  std::memcpy(device, deviceValue, std::strlen(deviceValue) + 1);
  std::memcpy(address, addressValue, std::strlen(addressValue) + 1);
  return ZLX_OK;
}

ZLXAPI ZlxSetConnectionInfo(const char *device, const char *address) {
  if (!device || !address) return ZLX_E_INVALID_PARAMETER;
  unique_hkey settings, connection;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                      settings.put(), nullptr) != ERROR_SUCCESS ||
      RegCreateKeyExA(settings.get(), kConnectionSubkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                      connection.put(), nullptr) != ERROR_SUCCESS)
    return ZLX_E_GENERAL;
  RegSetValueExA(connection.get(), "Device", 0, REG_SZ, reinterpret_cast<const BYTE *>(device),
                 static_cast<DWORD>(std::strlen(device) + 1));
  RegSetValueExA(connection.get(), "IPAddress", 0, REG_SZ, reinterpret_cast<const BYTE *>(address),
                 static_cast<DWORD>(std::strlen(address) + 1));
  return ZLX_OK;
}
