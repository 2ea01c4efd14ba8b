#include "profile.h"

#include <vector>

#include "win_raii.h"

namespace winfx {

CProfile::CProfile(std::string company, std::string program)
    : company_(std::move(company)), program_(std::move(program)) {}

std::string CProfile::ProgramName() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  const size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string CProfile::SectionKey(const std::string &section) const {
  return "Software\\" + company_ + "\\" + program_ + "\\" + section;
}

std::string CProfile::GetString(const std::string &section, const std::string &entry,
                                const std::string &fallback) const {
  unique_hkey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return fallback;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return fallback;
  std::vector<char> value(size + 1, '\0');
  if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(value.data()), &size) !=
      ERROR_SUCCESS)
    return fallback;
  return std::string(value.data());  // stops at the terminator, whether stored or not
}

bool CProfile::WriteString(const std::string &section, const std::string &entry, const std::string &value) const {
  unique_hkey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      key.put(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExA(key.get(), entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace winfx
