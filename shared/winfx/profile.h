// The per-user profile of a program: string entries under
// HKEY_CURRENT_USER\Software\<company>\<program>\<section>, the program
// being the base name of its executable unless given.
#pragma once

#include <string>

namespace winfx {

class CProfile {
 public:
  explicit CProfile(std::string company, std::string program = ProgramName());

  // The value of entry in section, or fallback when it is missing or is not a string.
  std::string GetString(const std::string &section, const std::string &entry,
                        const std::string &fallback = {}) const;
  // Creates the keys as needed; false when the registry refuses.
  bool WriteString(const std::string &section, const std::string &entry, const std::string &value) const;

  // Base name of the running executable without its extension.
  static std::string ProgramName();

 private:
  std::string SectionKey(const std::string &section) const;
  std::string company_;
  std::string program_;
};

}  // namespace winfx
